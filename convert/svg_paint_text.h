// Paint values no renderer can read, taken out of a parsed SVG tree before
// the SVG library sees them: a fill or stroke with bytes beyond ASCII
// outside its url(...) is no colour, and the library's colour-name lookup
// must never be handed such bytes (its case folding takes only ASCII).
// Touches the tree it is given and nothing else.
#pragma once

#include <rapidxml_ns/rapidxml_ns.hpp>

// Removes such fill and stroke attributes, and such declarations from
// style attributes, everywhere below and at root: the element then paints
// as if they were not written, as it would with any other unreadable value.
// A reference in another script is kept, as one the library can read.
void DropUnreadablePaints(rapidxml_ns::xml_node<>* root);
