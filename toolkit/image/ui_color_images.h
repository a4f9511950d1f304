// The image operations of the colour category UIColor(Kestrow): plain images
// of one colour (imageWithColor:andBounds:, thumbnailWithSize:), the average
// colour and the light and all-white tests of an image, and its dominant
// colours (mainColoursInImage:detail:).
#pragma once

namespace toolkit {

// Adds the methods to UIColor; called once at the library's start-up, after
// the platform is up.
void register_color_image_category();

}  // namespace toolkit
