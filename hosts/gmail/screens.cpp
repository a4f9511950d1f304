#include "hosts/gmail/screens.h"

#include <iterator>

#include "hosts/gmail/host_images.h"
#include "hosts/gmail/thread_cells.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

constexpr double kWidth = 375;
constexpr double kHeight = 812;
constexpr unsigned long kNormal = 0;
constexpr unsigned long kHighlighted = 1;

Class color_class() { return objc_getClass("UIColor"); }
id rgb(double r, double g, double b) {
  return msg<id>(color_class(), "colorWithRed:green:blue:alpha:", r / 255, g / 255, b / 255, 1.0);
}
id white() { return msg<id>(color_class(), "whiteColor"); }

// A view of the class, or a plain view where this app version lacks it.
id add_view(id parent, const char* class_name, CGRect frame, id background) {
  Class cls = objc_getClass(class_name);
  Ref view = Ref::adopt(msg<id>(msg<id>(cls != Nil ? cls : objc_getClass("UIView"), "alloc"),
                                "initWithFrame:", frame));
  if (background != nil) msg<void>(view, "setBackgroundColor:", background);
  msg<void>(parent, "addSubview:", view.get());
  return view;
}

// Text for a field, where this app version's stand-in view takes text.
void set_text(id view, id text) {
  if (objc::responds(view, objc::sel("setText:"))) msg<void>(view, "setText:", text);
}

// A controller of the class with a full-screen white root view.
Ref controller(const char* class_name) {
  Class cls = objc_getClass(class_name);
  Ref made = Ref::adopt(msg<id>(cls != Nil ? cls : objc_getClass("UIViewController"), "new"));
  id root = msg<id>(made, "view");
  msg<void>(root, "setFrame:", CGRectMake(0, 0, kWidth, kHeight));
  msg<void>(root, "setBackgroundColor:", white());
  return made;
}

void add_navigation_bar(id root) {
  id bar = add_view(root, "GBTNavigationBar", CGRectMake(0, 0, kWidth, 88), nil);
  if (objc::responds(bar, objc::sel("setCustomBarTintColor:"))) {
    msg<void>(bar, "setCustomBarTintColor:", white());
  }
  if (objc::responds(bar, objc::sel("setBarTintColor:")))
    msg<void>(bar, "setBarTintColor:", white());
}

// A thread as the list shows it.
struct ThreadSummary {
  const char* sender;
  const char* subject;
  const char* snippet;
  const char* date;
  const char* label;  // its label chip, or null
};

constexpr ThreadSummary kThreads[] = {
    {"Ana Lima", "Quarterly report", "Here are the figures we talked about on Monday", "9:12 AM",
     "Work"},
    {"Tom Becker", "Dinner on Friday?", "We booked a table for six at the usual place", "Yesterday",
     nullptr},
    {"Travel Desk", "Your itinerary", "Flight LX 318 leaves at 07:40 from gate B12", "Jun 3",
     "Travel"},
    {"Mia Chen", "Photos from the hike", "I put them in the shared album, have a look", "Jun 2",
     nullptr},
    {"Support", "Your ticket was updated", "An agent replied to your request about billing",
     "Jun 1", "Updates"},
};

id add_label(id parent, CGRect frame, const char* text, id color) {
  id label = add_view(parent, "UILabel", frame, nil);
  msg<void>(label, "setText:", ns::string(text));
  if (color != nil) msg<void>(label, "setTextColor:", color);
  return label;
}

// The sender's picture, sender, date, subject and snippet in the app's
// greys, and the label chip on its tinted ground.
void add_thread_texts(id cell, const ThreadSummary& thread) {
  msg<void>(add_view(cell, "UIImageView", CGRectMake(16, 16, 40, 40), nil), "setImage:",
            photo_image(40, 40));
  add_label(cell, CGRectMake(72, 12, 200, 22), thread.sender, rgb(32, 33, 36));
  add_label(cell, CGRectMake(280, 12, 80, 22), thread.date, rgb(95, 99, 104));
  add_label(cell, CGRectMake(72, 34, 288, 20), thread.subject, rgb(32, 33, 36));
  add_label(cell, CGRectMake(72, 54, 220, 20), thread.snippet, rgb(95, 99, 104));
  if (thread.label != nullptr) {
    id chip = add_view(cell, "UIView", CGRectMake(300, 56, 60, 18), rgb(232, 240, 254));
    add_label(chip, CGRectMake(6, 0, 54, 18), thread.label, rgb(60, 64, 67));
  }
}

}  // namespace

// The open search bar is a gradient view with nothing in it, under a
// rounded field that holds the search text field.
Ref make_inbox() {
  Ref inbox = controller("ThreadListViewController");
  id root = msg<id>(inbox, "view");
  add_navigation_bar(root);
  add_view(root, "GBTOpenSearchBarGradientView", CGRectMake(0, 88, kWidth, 56),
           msg<id>(color_class(), "colorWithWhite:alpha:", 0.96, 1.0));
  id field = add_view(root, "GBTRoundedCornerView", CGRectMake(8, 94, kWidth - 16, 44), nil);
  if (objc::responds(field, objc::sel("setFillColor:"))) {
    msg<void>(field, "setFillColor:", rgb(241, 243, 244));
  }
  id search = add_view(field, "ExpandableTextField", CGRectMake(44, 0, kWidth - 76, 44), nil);
  set_text(search, NSSTR("Search in mail"));

  id list = add_view(root, "UITableView", CGRectMake(0, 144, kWidth, 600), white());
  // Each thread's face shows the background its class makes for the row's
  // place in the list, under the thread's texts; the first thread is unread.
  const std::size_t rows = std::size(kThreads);
  for (std::size_t row = 0; row < rows; ++row) {
    id cell = add_view(list, "UITableViewCell", CGRectMake(0, row * 88.0, kWidth, 88), nil);
    add_view(cell, "OGLItemListViewCellBackgroundView", msg<CGRect>(cell, "bounds"), white());
    id face = add_view(cell, "ThreadCellFrontView", msg<CGRect>(cell, "bounds"), nil);
    if (objc::responds(face, objc::sel("setPosition:"))) {
      msg<void>(face, "setPosition:", row == 0 ? kFirstRow : row + 1 == rows ? kLastRow : kMiddleRow);
      msg<void>(face, "setRead:", row > 0 ? YES : NO);
    }
    add_thread_texts(cell, kThreads[row]);
  }
  id compose = add_view(root, "MDCFloatingButton", CGRectMake(227, 690, 132, 56), nil);
  if (objc::responds(compose, objc::sel("setBackgroundColor:forState:"))) {
    msg<void>(compose, "setBackgroundColor:forState:", white(), kNormal);
    msg<void>(compose, "setBackgroundColor:forState:", rgb(232, 234, 237), kHighlighted);
  } else {
    msg<void>(compose, "setBackgroundColor:", white());
  }
  if (objc::responds(compose, objc::sel("setTitle:forState:"))) {
    msg<void>(compose, "setTitle:forState:", NSSTR("Compose"), kNormal);
  }
  add_image_views(root);
  return inbox;
}

// The subject sits in its own view below the bar, in a text view the
// subject view keeps as its member; the body, when there is one, below it.
Ref make_thread(const std::string& subject, const std::string& body) {
  Ref thread = controller("ThreadViewController");
  id root = msg<id>(thread, "view");
  add_navigation_bar(root);
  id subject_view = add_view(root, "ThreadSubjectView", CGRectMake(0, 88, kWidth, 64), white());
  Ref text = Ref::adopt(msg<id>(objc_getClass("UITextView"), "new"));
  msg<void>(text, "setText:", ns::string(subject));
  msg<void>(text, "setTextColor:", msg<id>(color_class(), "blackColor"));
  if (objc::responds(subject_view, objc::sel("setSubjectTextView:"))) {
    msg<void>(subject_view, "setSubjectTextView:", text.get());
  }
  msg<void>(subject_view, "addSubview:", text.get());
  if (!body.empty()) {
    id web_view = add_view(root, "UIWebView", CGRectMake(0, 152, kWidth, kHeight - 152), nil);
    msg<void>(web_view, "loadHTMLString:baseURL:", ns::string(body), nil);
  }
  return thread;
}

Ref make_compose() {
  Ref compose = controller("ComposeViewController");
  id root = msg<id>(compose, "view");
  add_view(root, "ComposeViewHeader", CGRectMake(0, 0, kWidth, 88), white());
  id to = add_view(root, "ExpandableTextField", CGRectMake(16, 88, kWidth - 32, 44), nil);
  set_text(to, NSSTR("To"));
  id body = add_view(root, "UITextView", CGRectMake(16, 132, kWidth - 32, 300), nil);
  if (objc::responds(compose, objc::sel("setBodyView:"))) msg<void>(compose, "setBodyView:", body);
  add_view(root, "GBTKeyboardPromoView", CGRectMake(0, 432, kWidth, 44), white());
  return compose;
}

// Schedule send: a date picker under its title.
Ref make_date_picker() {
  Ref schedule = controller("UIViewController");
  id root = msg<id>(schedule, "view");
  id picker = add_view(root, "UIDatePicker", CGRectMake(0, 400, kWidth, 260), white());
  msg<void>(msg<id>(msg<id>(picker, "contentView"), "titleLabel"),
            "setText:", NSSTR("Schedule send"));
  return schedule;
}

// The app lock: a prompt over the system's PIN keypad.
Ref make_passcode() {
  Ref lock = controller("UIViewController");
  id root = msg<id>(lock, "view");
  id prompt = add_view(root, "UILabel", CGRectMake(16, 200, kWidth - 32, 44), nil);
  msg<void>(prompt, "setText:", NSSTR("Enter your passcode"));
  add_view(root, "DevicePINKeypad", CGRectMake(0, kHeight - 300, kWidth, 300), nil);
  return lock;
}

Ref make_link(const std::string& url) {
  id address = msg<id>(objc_getClass("NSURL"), "URLWithString:", ns::string(url));
  try {
    return Ref::adopt(msg<id>(msg<id>(objc_getClass("SFSafariViewController"), "alloc"),
                              "initWithURL:", address));
  } catch (const objc::Exception&) {
    return nullptr;
  }
}

}  // namespace host
