// Conditional processing as renderers do it. An element that names required
// extensions fails (none are supported); one with a systemLanguage fails
// unless the user's language or its primary part matches one of the list,
// exactly or as a prefix before a '-'. requiredFeatures no longer decides
// anything (SVG 2), so it passes. A switch shows its first child whose
// conditions hold; titles, descriptions and metadata are not candidates.
#include "convert/svg_conditions.h"

#include <cctype>
#include <cstring>

#include "convert/user_language.h"

namespace {

typedef rapidxml_ns::xml_node<> Node;
typedef rapidxml_ns::xml_attribute<> Attribute;

const char SVG_NAMESPACE[] = "http://www.w3.org/2000/svg";
const char XLINK_NAMESPACE[] = "http://www.w3.org/1999/xlink";

bool Is(const char* text, size_t size, const char* word) {
    return size == std::strlen(word) && std::memcmp(text, word, size) == 0;
}

bool IsSvgElement(const Node* node, const char* name) {
    return node->type() == rapidxml_ns::node_element &&
           Is(node->namespace_uri(), node->namespace_uri_size(), SVG_NAMESPACE) &&
           Is(node->local_name(), node->local_name_size(), name);
}

Attribute* FindAttribute(const Node* node, const char* ns, const char* name) {
    for (Attribute* a = node->first_attribute(); a; a = a->next_attribute())
        if (Is(a->namespace_uri(), a->namespace_uri_size(), ns) &&
            Is(a->local_name(), a->local_name_size(), name))
            return a;
    return nullptr;
}

// Whether one language tag of a systemLanguage list is matched by the
// user's tag: equal, or the user's tag followed in it by '-'.
bool TagMatches(const char* tag, size_t size, const char* user) {
    const size_t userSize = std::strlen(user);
    if (userSize == 0 || size < userSize) return false;
    for (size_t i = 0; i < userSize; ++i)
        if (std::tolower((unsigned char)tag[i]) != user[i]) return false;
    return size == userSize || tag[userSize] == '-';
}

bool LanguageMatches(const Attribute* list, const char* language) {
    char primary[LANGUAGE_ROOM];
    std::strcpy(primary, language);
    if (char* dash = std::strchr(primary, '-')) *dash = 0;
    const char* p = list->value();
    const char* const end = p + list->value_size();
    while (p < end) {
        while (p < end && (*p == ',' || std::isspace((unsigned char)*p))) ++p;
        const char* tag = p;
        while (p < end && *p != ',' && !std::isspace((unsigned char)*p)) ++p;
        const size_t size = (size_t)(p - tag);
        if (size && (TagMatches(tag, size, language) || TagMatches(tag, size, primary)))
            return true;
    }
    return false;
}

bool ConditionsHold(const Node* node, const char* language) {
    if (FindAttribute(node, "", "requiredExtensions")) return false;
    const Attribute* languages = FindAttribute(node, "", "systemLanguage");
    return !languages || LanguageMatches(languages, language);
}

bool IsDescriptive(const Node* node) {
    return IsSvgElement(node, "title") || IsSvgElement(node, "desc") ||
           IsSvgElement(node, "metadata");
}

// SVG 2 writes href without a namespace; where it is given it wins over
// xlink:href.
void ReadPlainHref(Node* node) {
    Attribute* plain = FindAttribute(node, "", "href");
    if (!plain) return;
    if (Attribute* old = FindAttribute(node, XLINK_NAMESPACE, "href")) node->remove_attribute(old);
    plain->namespace_uri(XLINK_NAMESPACE, sizeof XLINK_NAMESPACE - 1);
}

struct Pass {
    rapidxml_ns::xml_document<>* document;
    Node* holder;
    const char* language;

    void Hold(Node* node) {
        if (!holder) holder = document->allocate_node(rapidxml_ns::node_element, "held");
        holder->append_node(node);
    }

    void Apply(Node* node) {
        const bool isSwitch = IsSvgElement(node, "switch");
        bool shown = false;  // the switch's child is chosen
        Node* next;
        for (Node* child = node->first_node(); child; child = next) {
            next = child->next_sibling();
            if (child->type() != rapidxml_ns::node_element) continue;
            if (!ConditionsHold(child, language)) {
                node->remove_node(child);
                continue;
            }
            ReadPlainHref(child);
            Apply(child);
            if (isSwitch && !IsDescriptive(child)) {
                if (shown) {
                    node->remove_node(child);
                    Hold(child);
                }
                shown = true;
            }
        }
    }
};

}  // namespace

void ApplySvgConditions(rapidxml_ns::xml_document<>* document, rapidxml_ns::xml_node<>* root,
                        const char* language) {
    Pass pass = {document, nullptr, language};
    ReadPlainHref(root);
    pass.Apply(root);
    if (pass.holder) root->append_node(pass.holder);
}
