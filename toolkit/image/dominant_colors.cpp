#include "toolkit/image/dominant_colors.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <queue>
#include <string>
#include <unordered_map>
#include <utility>

namespace toolkit {
namespace {

// The channel list of a byte: v + k for k = -R .. R, raised to 0.
std::vector<int> channel_list(int v, int radius) {
  std::vector<int> list;
  for (int k = -radius; k <= radius; ++k) list.push_back(std::max(0, v + k));
  return list;
}

// The red index of the odometer reaches only its first three values.
constexpr int kRedValues = 3;

struct Kept {
  int red, green, blue;
  std::uint64_t count;
};

bool within(const Kept& kept, int r, int g, int b, int tolerance) {
  return kept.red - tolerance <= r && r <= kept.red + tolerance && kept.green - tolerance <= g &&
         g <= kept.green + tolerance && kept.blue - tolerance <= b && b <= kept.blue + tolerance;
}

std::vector<DominantColor> shares(const std::vector<Kept>& kept) {
  float total = 0;
  for (const Kept& k : kept) total += static_cast<float>(k.count);
  std::vector<DominantColor> result;
  for (const Kept& k : kept) {
    result.push_back({k.red, k.green, k.blue, static_cast<float>(k.count) / total});
  }
  return result;
}

// Calls `visit(pixel)` in the order the votes are cast: column by column.
template <typename Visit>
void for_each_pixel(const Bitmap& bitmap, Visit visit) {
  for (std::uint64_t x = 0; x < bitmap.width(); ++x) {
    for (std::uint64_t y = 0; y < bitmap.height(); ++y) visit(bitmap.pixel(x, y));
  }
}

// One channel's votes: each distinct key value with its multiplicity.
struct Votes {
  std::array<std::pair<int, std::uint32_t>, 64> entries;
  int size = 0;
};
Votes votes(int v, int radius, int length) {
  Votes out;
  for (int i = 0; i < length; ++i) {
    const int value = std::max(0, v - radius + i);
    if (out.size > 0 && out.entries[out.size - 1].first == value) {
      ++out.entries[out.size - 1].second;
    } else {
      out.entries[out.size++] = {value, 1};
    }
  }
  return out;
}

// The counts of every key the pixels vote for, slice by slice of red keys:
// each slice spans only the green and blue keys its own pixels reach, so a
// photo's grid stays small. Cells are laid out in key order (red, green,
// blue), so a lower cell is a smaller key. The best uncovered cell of each
// block of a slice waits in a priority queue.
class VoteGrid {
 public:
  static constexpr int kBlockGreen = 8;
  static constexpr int kBlockBlue = 32;

  VoteGrid(const Bitmap& bitmap, const DominantDetail& detail) : radius_(detail.radius) {
    red_length_ = std::min(kRedValues, 2 * radius_ + 1);
    // Equal pixels vote alike: each colour once, with its pixel count.
    std::vector<std::uint32_t> colors;
    colors.reserve(bitmap.width() * bitmap.height());
    for_each_pixel(bitmap, [&](PremultipliedPixel p) {
      colors.push_back(std::uint32_t{p.red} << 16 | std::uint32_t{p.green} << 8 | p.blue);
    });
    std::sort(colors.begin(), colors.end());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> weighted;
    for (std::size_t i = 0; i < colors.size();) {
      std::size_t j = i;
      while (j < colors.size() && colors[j] == colors[i]) ++j;
      weighted.push_back({colors[i], static_cast<std::uint32_t>(j - i)});
      i = j;
    }
    lay_out(weighted);
    for (const auto& [color, weight] : weighted) {
      vote(color >> 16, (color >> 8) & 0xFF, color & 0xFF, weight);
    }
  }

  // The kept keys, best first, by the walk over the ordered keys.
  std::vector<Kept> keep(int tolerance) {
    for (std::size_t block = 0; block < touched_.size(); ++block) {
      if (touched_[block]) push_best(block);
    }
    std::vector<Kept> kept;
    while (!queue_.empty()) {
      const Entry top = queue_.top();
      queue_.pop();
      if (dirty(top.block)) {
        push_best(top.block);
        continue;
      }
      const Slice& slice = slices_[block_slice_[top.block]];
      const std::size_t local = top.cell - slice.offset;
      const int r = static_cast<int>(block_slice_[top.block]);
      const int g = slice.green + static_cast<int>(local / slice.blues);
      const int b = slice.blue + static_cast<int>(local % slice.blues);
      kept.push_back({r, g, b, top.count});
      cover(r, g, b, tolerance);
      push_best(top.block);
    }
    return kept;
  }

 private:
  // One red key's cells: greens from `green`, blues from `blue`.
  struct Slice {
    int green = 0, blue = 0, greens = 0, blues = 0;
    std::size_t offset = 0, first_block = 0;
    int blocks_green = 0, blocks_blue = 0;
  };

  struct Entry {
    std::uint64_t count;
    std::size_t cell;
    std::size_t block;
    // Most votes first; of equal votes, the smallest key (the lowest cell).
    friend bool operator<(const Entry& a, const Entry& b) {
      return a.count != b.count ? a.count < b.count : a.cell > b.cell;
    }
  };

  // Sizes each red slice to the green and blue keys its pixels reach.
  void lay_out(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& weighted) {
    const int red_keys = 256 + red_length_;
    std::vector<std::array<int, 4>> box(red_keys, {1 << 20, 1 << 20, -1, -1});
    for (const auto& [color, weight] : weighted) {
      const int r = color >> 16, g = (color >> 8) & 0xFF, b = color & 0xFF;
      for (int i = 0; i < red_length_; ++i) {
        auto& bx = box[std::max(0, r - radius_ + i)];
        bx = {std::min(bx[0], std::max(0, g - radius_)), std::min(bx[1], std::max(0, b - radius_)),
              std::max(bx[2], g + radius_), std::max(bx[3], b + radius_)};
      }
    }
    slices_.resize(red_keys);
    std::size_t cells = 0, blocks = 0;
    for (int kr = 0; kr < red_keys; ++kr) {
      Slice& slice = slices_[kr];
      slice.offset = cells;
      slice.first_block = blocks;
      if (box[kr][2] < 0) continue;
      slice.green = box[kr][0];
      slice.blue = box[kr][1];
      slice.greens = box[kr][2] - slice.green + 1;
      slice.blues = box[kr][3] - slice.blue + 1;
      slice.blocks_green = (slice.greens + kBlockGreen - 1) / kBlockGreen;
      slice.blocks_blue = (slice.blues + kBlockBlue - 1) / kBlockBlue;
      cells += static_cast<std::size_t>(slice.greens) * slice.blues;
      blocks += static_cast<std::size_t>(slice.blocks_green) * slice.blocks_blue;
      block_slice_.resize(blocks, static_cast<std::uint32_t>(kr));
    }
    counts_.assign(cells, 0);
    touched_.assign(blocks, false);
    generation_.assign(blocks, 0);
    seen_.assign(blocks, 0);
  }

  void vote(int r, int g, int b, std::uint32_t weight) {
    const Votes reds = votes(r, radius_, red_length_);
    const Votes greens = votes(g, radius_, 2 * radius_ + 1);
    const Votes blues = votes(b, radius_, 2 * radius_ + 1);
    for (int i = 0; i < reds.size; ++i) {
      const Slice& slice = slices_[reds.entries[i].first];
      const int b0 = blues.entries[0].first - slice.blue;
      const int b1 = blues.entries[blues.size - 1].first - slice.blue;
      for (int j = 0; j < greens.size; ++j) {
        const int kg = greens.entries[j].first - slice.green;
        const std::uint32_t w = weight * reds.entries[i].second * greens.entries[j].second;
        std::uint32_t* row = &counts_[slice.offset + static_cast<std::size_t>(kg) * slice.blues];
        for (int k = 0; k < blues.size; ++k) {
          row[blues.entries[k].first - slice.blue] += w * blues.entries[k].second;
        }
        for (int bb = b0 / kBlockBlue; bb <= b1 / kBlockBlue; ++bb) {
          touched_[block_of(slice, kg / kBlockGreen, bb)] = true;
        }
      }
    }
  }

  // Drops every key within the tolerance of a kept one: it can no longer be
  // kept, and only kept keys' counts are summed.
  void cover(int r, int g, int b, int tolerance) {
    const int r1 = std::min(static_cast<int>(slices_.size()) - 1, r + tolerance);
    for (int kr = std::max(0, r - tolerance); kr <= r1; ++kr) {
      const Slice& slice = slices_[kr];
      const int g0 = std::max(0, g - tolerance - slice.green);
      const int g1 = std::min(slice.greens - 1, g + tolerance - slice.green);
      const int b0 = std::max(0, b - tolerance - slice.blue);
      const int b1 = std::min(slice.blues - 1, b + tolerance - slice.blue);
      if (g0 > g1 || b0 > b1) continue;
      for (int kg = g0; kg <= g1; ++kg) {
        std::uint32_t* row = &counts_[slice.offset + static_cast<std::size_t>(kg) * slice.blues];
        std::fill(row + b0, row + b1 + 1, 0u);
      }
      for (int bg = g0 / kBlockGreen; bg <= g1 / kBlockGreen; ++bg) {
        for (int bb = b0 / kBlockBlue; bb <= b1 / kBlockBlue; ++bb) {
          ++generation_[block_of(slice, bg, bb)];
        }
      }
    }
  }

  // Whether keys of the block were dropped since its best cell was found.
  bool dirty(std::size_t block) const { return generation_[block] != seen_[block]; }

  void push_best(std::size_t block) {
    seen_[block] = generation_[block];
    const Slice& slice = slices_[block_slice_[block]];
    const std::size_t local = block - slice.first_block;
    const int bg = static_cast<int>(local / slice.blocks_blue);
    const int bb = static_cast<int>(local % slice.blocks_blue);
    Entry best{0, 0, block};
    const int g_end = std::min(slice.greens, (bg + 1) * kBlockGreen);
    const int b_end = std::min(slice.blues, (bb + 1) * kBlockBlue);
    for (int kg = bg * kBlockGreen; kg < g_end; ++kg) {
      const std::size_t row = slice.offset + static_cast<std::size_t>(kg) * slice.blues;
      for (int kb = bb * kBlockBlue; kb < b_end; ++kb) {
        if (counts_[row + kb] > best.count) best = {counts_[row + kb], row + kb, block};
      }
    }
    if (best.count > 0) queue_.push(best);
  }

  static std::size_t block_of(const Slice& slice, int bg, int bb) {
    return slice.first_block + static_cast<std::size_t>(bg) * slice.blocks_blue + bb;
  }

  int radius_;
  int red_length_ = kRedValues;
  std::vector<Slice> slices_;
  std::vector<std::uint32_t> block_slice_;
  std::vector<std::uint32_t> counts_;
  std::vector<bool> touched_;
  std::vector<std::uint32_t> generation_, seen_;
  std::priority_queue<Entry> queue_;
};

}  // namespace

DominantDetail dominant_detail(std::int32_t detail) {
  if (detail == 0) return {4, 1, 100};
  if (detail == 2) return {100, 10, 20};
  return {10, 2, 60};
}

std::vector<DominantColor> dominant_colors_literal(const Bitmap& bitmap, std::int32_t detail) {
  const DominantDetail d = dominant_detail(detail);
  const int length = 2 * d.radius + 1;
  std::unordered_map<std::string, std::uint64_t> counts;
  char key[48];
  for_each_pixel(bitmap, [&](PremultipliedPixel p) {
    const std::vector<int> reds = channel_list(p.red, d.radius);
    const std::vector<int> greens = channel_list(p.green, d.radius);
    const std::vector<int> blues = channel_list(p.blue, d.radius);
    int ri = 0, gi = 0, bi = 0;
    for (int emitted = 0; emitted < length * length * 3; ++emitted) {
      std::snprintf(key, sizeof key, "%i,%i,%i", reds[ri], greens[gi], blues[bi]);
      ++counts[key];
      if (++bi == length) {
        bi = 0;
        if (++gi == length) {
          gi = 0;
          ++ri;
        }
      }
    }
  });

  struct Counted {
    std::string key;
    std::uint64_t count;
    std::array<int, 3> values;
  };
  std::vector<Counted> ordered;
  for (auto& [text, count] : counts) {
    Counted c{text, count, {}};
    std::sscanf(text.c_str(), "%i,%i,%i", &c.values[0], &c.values[1], &c.values[2]);
    ordered.push_back(std::move(c));
  }
  std::sort(ordered.begin(), ordered.end(), [](const Counted& a, const Counted& b) {
    return a.count != b.count ? a.count > b.count : a.values < b.values;
  });
  std::vector<Kept> kept;
  for (const Counted& c : ordered) {
    // Named by index, not bound: clang 14, which builds the fuzz targets,
    // refuses a lambda that uses a structured binding.
    const auto& v = c.values;
    if (std::none_of(kept.begin(), kept.end(),
                     [&](const Kept& k) { return within(k, v[0], v[1], v[2], d.tolerance); })) {
      kept.push_back({v[0], v[1], v[2], c.count});
    }
  }
  return shares(kept);
}

std::vector<DominantColor> dominant_colors(const Bitmap& bitmap, std::int32_t detail) {
  const DominantDetail d = dominant_detail(detail);
  VoteGrid grid(bitmap, d);
  return shares(grid.keep(d.tolerance));
}

}  // namespace toolkit
