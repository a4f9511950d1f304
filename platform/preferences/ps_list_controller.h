// PSViewController and PSListController: a preference page. A list
// controller's cells are its specifiers, kept in the member `_specifiers`
// (an owned NSMutableArray, nil until the page first asks for them; a
// subclass fills it in its `specifiers`, which the framework calls whenever
// it needs the cells). -loadSpecifiersFromPlistName:target: reads
// "<name>.plist" from the page's own bundle (+[NSBundle bundleForClass:] of
// the page's class, not the main bundle) and sets the page's title from it.
//
// Values: the framework keeps a page's values in the system's preferences
// daemon, which this model does not have, so the base -readPreferenceValue:
// answers the specifier's "default" and the base -setPreferenceValue:specifier:
// keeps nothing; pages that store their values override both.
//
// Cells act as the framework makes them act on a tap:
// -performActionForSpecifier: sends a button's action to its target (with
// the specifier as argument when the action takes one) and answers YES; it
// answers NO and logs one line when the target does not answer the action
// with a method of that shape. -controllerForSpecifier: makes the page a
// link leads to (an instance of its detail class, a PSViewController, given
// the specifier), and -pushController:animate: shows it above this page.
#pragma once

namespace ps {

void define_list_controller_classes();

}  // namespace ps
