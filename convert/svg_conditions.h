// Which elements of a parsed SVG tree apply, settled before the tree is
// read: conditional processing (systemLanguage, requiredExtensions), the
// one child a switch shows, and SVG 2's plain href. Touches the tree it is
// given and nothing else.
#pragma once

#include <rapidxml_ns/rapidxml_ns.hpp>

// Takes out of the tree below root every element whose conditions fail for
// the language (a lower-case tag, convert/user_language.h), moves the children a switch does not
// show into a holder at the end of root (where use references still find them but nothing draws
// them), and reads a plain href as xlink:href, which it overrides.
void ApplySvgConditions(rapidxml_ns::xml_document<>* document, rapidxml_ns::xml_node<>* root,
                        const char* language);
