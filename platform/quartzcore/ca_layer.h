// CALayer and CAShapeLayer, the layers behind views. A layer keeps its frame,
// its background colour and its delegate (the view it backs, not retained); a
// shape layer also keeps a fill and a stroke colour. Colours are CGColors, and
// a layer holds its own copy of each, so it keeps its colour whatever becomes
// of the UIColor it was taken from.
#pragma once

namespace ca {

// Defines CALayer and CAShapeLayer; called once at platform start, before
// UIKit's views.
void define_layer_classes();

}  // namespace ca
