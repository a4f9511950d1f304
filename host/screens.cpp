#include "host/screens.h"

#include "host/host_images.h"
#include "host/thread_cells.h"
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
  // place in the list; the first thread is unread.
  const long positions[] = {kFirstRow, kMiddleRow, kLastRow};
  for (int row = 0; row < 3; ++row) {
    id cell = add_view(list, "UITableViewCell", CGRectMake(0, row * 88.0, kWidth, 88), nil);
    add_view(cell, "OGLItemListViewCellBackgroundView", msg<CGRect>(cell, "bounds"), white());
    id face = add_view(cell, "ThreadCellFrontView", msg<CGRect>(cell, "bounds"), nil);
    if (objc::responds(face, objc::sel("setPosition:"))) {
      msg<void>(face, "setPosition:", positions[row]);
      msg<void>(face, "setRead:", row > 0 ? YES : NO);
    }
  }
  id compose = add_view(root, "MDCFloatingButton", CGRectMake(300, 720, 56, 56), nil);
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
// subject view keeps as its member.
Ref make_thread(const std::string& subject) {
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
