// Unreadable paint values out of the tree: attributes removed, style
// declarations cut out of the attribute's text in place (the text is the
// file's own buffer, which the parser has made ours).
#include "convert/svg_paint_text.h"

#include <cctype>
#include <cstring>

namespace {

typedef rapidxml_ns::xml_node<> Node;
typedef rapidxml_ns::xml_attribute<> Attribute;

bool IsPaintName(const char* name, size_t size) {
    return (size == 4 && std::memcmp(name, "fill", 4) == 0) ||
           (size == 6 && std::memcmp(name, "stroke", 6) == 0);
}

// A paint is unreadable when a byte beyond ASCII lies outside a leading
// url(...). Inside it, where an element's id may be in any script, such
// bytes become '_': the library reads only ASCII references, and a paint by
// reference counts as paint whichever element it names.
bool Unreadable(char* value, size_t size) {
    size_t i = 0;
    while (i < size && std::isspace((unsigned char)value[i])) ++i;
    if (size - i >= 4 && std::memcmp(value + i, "url(", 4) == 0) {
        for (i += 4; i < size && value[i] != ')'; ++i)
            if ((unsigned char)value[i] >= 0x80) value[i] = '_';
    }
    for (; i < size; ++i)
        if ((unsigned char)value[i] >= 0x80) return true;
    return false;
}

// Cuts the fill and stroke declarations with unreadable values out of a
// style attribute's text; returns the new length.
size_t CutStyle(char* text, size_t size) {
    size_t kept = 0;
    for (size_t start = 0; start < size;) {
        const void* semicolon = std::memchr(text + start, ';', size - start);
        const size_t end = semicolon ? (size_t)((const char*)semicolon - text) + 1 : size;
        char* colon = (char*)std::memchr(text + start, ':', end - start);
        bool drop = false;
        if (colon) {
            size_t nameStart = start, nameEnd = (size_t)(colon - text);
            while (nameStart < nameEnd && std::isspace((unsigned char)text[nameStart])) ++nameStart;
            while (nameEnd > nameStart && std::isspace((unsigned char)text[nameEnd - 1])) --nameEnd;
            drop = IsPaintName(text + nameStart, nameEnd - nameStart) &&
                   Unreadable(colon + 1, (size_t)(text + end - colon - 1));
        }
        if (!drop) {
            std::memmove(text + kept, text + start, end - start);
            kept += end - start;
        }
        start = end;
    }
    return kept;
}

void Drop(Node* node) {
    Attribute* next;
    for (Attribute* a = node->first_attribute(); a; a = next) {
        next = a->next_attribute();
        if (a->namespace_uri_size() != 0) continue;
        const char* name = a->local_name();
        const size_t size = a->local_name_size();
        if (IsPaintName(name, size) && Unreadable(a->value(), a->value_size())) {
            node->remove_attribute(a);
        } else if (size == 5 && std::memcmp(name, "style", 5) == 0) {
            a->value(a->value(), CutStyle(a->value(), a->value_size()));
        }
    }
    for (Node* child = node->first_node(); child; child = child->next_sibling())
        if (child->type() == rapidxml_ns::node_element) Drop(child);
}

}  // namespace

void DropUnreadablePaints(rapidxml_ns::xml_node<>* root) {
    Drop(root);
}
