// SVG files read through SVG++ over its RapidXML NS parser. The library's
// templates live in this one file, so that only the converter compiles and
// links them. Every visible shape of the file, through nested groups,
// nested svg elements and use references, arrives here as path events
// (basic shapes and arcs already turned into lines and cubic curves) and is
// stored with its whole transform applied; which elements apply at all
// (conditions, switch) is settled on the parsed tree before. Elements are
// told apart by a stack of their states; a shape that turns out hidden or
// unpainted when its element ends takes back what it drew.
#include "convert/svg_reader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

// SVG++ passes its policies as named template parameters, more of them
// than Boost's default allows.
#define BOOST_PARAMETER_MAX_ARITY 15
// The library's arc splitting leaves members unset on a path that never
// reads them, which GCC cannot see once it is inlined here (clang, which
// the fuzzing build uses, has no such warning).
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// RapidXML reports malformed text by throwing; its exception is caught in
// ReadSvgDrawing and goes no further.
#include <rapidxml_ns/rapidxml_ns.hpp>
#include <svgpp/policy/xml/rapidxml_ns.hpp>
#include <svgpp/svgpp.hpp>

#include "convert/drawing.h"
#include "convert/svg_conditions.h"
#include "convert/svg_paint_text.h"
#include "convert/user_language.h"
#include "formats/checked_read.h"
#include "formats/path_files.h"

namespace {

using namespace svgpp;

enum {
    MAX_DEPTH = 256,         // nested elements, use references included
    MAX_XML_DEPTH = 1024,    // nested elements the parser is given
    MAX_USE_DEPTH = 32,      // use elements inside what a use element shows
    MAX_EXPANSIONS = 65536,  // use elements shown in all; a chain of them doubles
    REASON_ROOM = 256
};

typedef rapidxml_ns::xml_node<> const* XmlElement;

struct ElementState {
    double matrix[6];  // user units of this element to the drawing's units
    bool shown;        // display is not none and nothing above is hidden so
    bool visible;      // the visibility property (inherited)
    bool filled;       // fill is not none (inherited)
    bool stroked;      // stroke is not none (inherited)
    bool transparent;  // opacity 0 here or above
    double fillOpacity, strokeOpacity, strokeWidth;  // (inherited)
    bool shape;
    bool use;
    int firstPath;  // where this element's own paths begin
    int useDepth;
    double useX, useY, useWidth, useHeight;  // width and height below 0 when not given
    const char* href;
    size_t hrefLength;
};

ElementState states[MAX_DEPTH];
int depth;  // states[depth - 1] is the element being read
bool tooDeep;
int excess;  // elements entered beyond MAX_DEPTH
int expansions;
XmlElement documentRoot;
bool rootPending;  // the outermost viewport is still to come

void Multiply(double out[6], const double a[6], const double b[6]) {
    double m[6];
    m[0] = a[0] * b[0] + a[2] * b[1];
    m[1] = a[1] * b[0] + a[3] * b[1];
    m[2] = a[0] * b[2] + a[2] * b[3];
    m[3] = a[1] * b[2] + a[3] * b[3];
    m[4] = a[0] * b[4] + a[2] * b[5] + a[4];
    m[5] = a[1] * b[4] + a[3] * b[5] + a[5];
    std::memcpy(out, m, sizeof m);
}

XmlElement FindById(XmlElement node, const char* id, size_t length) {
    for (XmlElement child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml_ns::node_element) continue;
        for (auto* a = child->first_attribute(); a; a = a->next_attribute()) {
            if (a->local_name_size() == 2 && std::memcmp(a->local_name(), "id", 2) == 0 &&
                a->value_size() == length && std::memcmp(a->value(), id, length) == 0)
                return child;
        }
        if (XmlElement found = FindById(child, id, length)) return found;
    }
    return nullptr;
}

class Reader {
public:
    typedef factory::length::unitless<> length_factory_type;

    length_factory_type& length_factory() { return lengths; }

    ElementState& Top() { return states[depth - 1]; }

    template <class ElementTag>
    void on_enter_element(ElementTag) {
        Enter(false);
    }
    void on_enter_element(tag::element::path) { Enter(true); }
    void on_enter_element(tag::element::rect) { Enter(true); }
    void on_enter_element(tag::element::circle) { Enter(true); }
    void on_enter_element(tag::element::ellipse) { Enter(true); }
    void on_enter_element(tag::element::line) { Enter(true); }
    void on_enter_element(tag::element::polyline) { Enter(true); }
    void on_enter_element(tag::element::polygon) { Enter(true); }
    void on_enter_element(tag::element::use_) {
        Enter(false);
        Top().use = true;
    }

    void on_exit_element();

    // The traversal enters the root element without telling.
    void EnterRoot() { Enter(false); }

    // Transforms, the viewBox's among them, compose onto the element's matrix.
    void transform_matrix(const boost::array<double, 6>& m) {
        const double own[6] = {m[0], m[1], m[2], m[3], m[4], m[5]};
        Multiply(Top().matrix, Top().matrix, own);
    }

    // Viewports: the outermost one is the page the drawing is made for.
    void set_viewport(double x, double y, double width, double height) {
        if (!rootPending) return;
        rootPending = false;
        drawing.hasPage = width > 0 && height > 0;
        drawing.pageCorner = {x, y};
        drawing.pageSize = {width, height};
    }
    void set_viewbox_size(double width, double height) { SetViewportSize(width, height); }
    void SetViewportSize(double width, double height) {
        viewportWidth = width;
        viewportHeight = height;
        lengths.set_viewport_size(width, height);
    }
    // A symbol or svg shown by a use element takes the use element's size
    // where it gives one.
    void get_reference_viewport_size(double& width, double& height) {
        const ElementState& use = states[depth - 2];
        width = use.useWidth >= 0 ? use.useWidth : viewportWidth;
        height = use.useHeight >= 0 ? use.useHeight : viewportHeight;
    }
    void disable_rendering() { Top().shown = false; }

    // Paths, with every shape already turned into one.
    void path_move_to(double x, double y, tag::coordinate::absolute) {
        if (BeginDrawingPath({x, y})) pathOpen = true;
        subpathStart = current = {x, y};
    }
    void path_line_to(double x, double y, tag::coordinate::absolute) {
        if (OpenPath()) AddDrawingLine({x, y});
        current = {x, y};
    }
    void path_cubic_bezier_to(double x1, double y1, double x2, double y2, double x, double y,
                              tag::coordinate::absolute) {
        if (OpenPath()) AddDrawingCubic({x1, y1}, {x2, y2}, {x, y});
        current = {x, y};
    }
    void path_elliptical_arc_to(double rx, double ry, double rotation, bool largeArc, bool sweep,
                                double x, double y, tag::coordinate::absolute);
    void path_close_subpath() {
        if (pathOpen) CloseDrawingPath();
        pathOpen = false;
        current = subpathStart;
    }
    void path_exit() { pathOpen = false; }

    // Presentation: what decides whether an element shows.
    void set(tag::attribute::display, tag::value::none) { Top().shown = false; }
    template <class Value>
    void set(tag::attribute::display, Value) {}
    void set(tag::attribute::visibility, tag::value::visible) { Top().visible = true; }
    void set(tag::attribute::visibility, tag::value::hidden) { Top().visible = false; }
    void set(tag::attribute::visibility, tag::value::collapse) { Top().visible = false; }
    void set(tag::attribute::visibility, tag::value::inherit) {}
    void set(tag::attribute::fill, tag::value::none) { Top().filled = false; }
    void set(tag::attribute::fill, tag::value::inherit) {}
    template <class... Paint>
    void set(tag::attribute::fill, Paint&&...) {
        Top().filled = true;
    }
    // Paint that cannot be seen draws nothing: opacity 0 hides an element
    // and what it holds, and a fill or stroke counts only if it shows.
    void set(tag::attribute::opacity, double value) {
        if (value <= 0) Top().transparent = true;
    }
    void set(tag::attribute::fill_opacity, double value) { Top().fillOpacity = value; }
    void set(tag::attribute::stroke_opacity, double value) { Top().strokeOpacity = value; }
    void set(tag::attribute::stroke_width, double value) {
        if (value >= 0) Top().strokeWidth = value;
    }
    void set(tag::attribute::opacity, tag::value::inherit) {}
    void set(tag::attribute::fill_opacity, tag::value::inherit) {}
    void set(tag::attribute::stroke_opacity, tag::value::inherit) {}
    void set(tag::attribute::stroke_width, tag::value::inherit) {}
    void set(tag::attribute::stroke, tag::value::none) { Top().stroked = false; }
    void set(tag::attribute::stroke, tag::value::inherit) {}
    template <class... Paint>
    void set(tag::attribute::stroke, Paint&&...) {
        Top().stroked = true;
    }

    // What a use element shows, and where.
    template <class Range>
    void set(tag::attribute::xlink::href, tag::iri_fragment, const Range& id) {
        Top().href = boost::begin(id);
        Top().hrefLength = (size_t)(boost::end(id) - boost::begin(id));
    }
    template <class Range>
    void set(tag::attribute::xlink::href, const Range&) {}  // another file: not shown
    void set(tag::attribute::x, double value) { Top().useX = value; }
    void set(tag::attribute::y, double value) { Top().useY = value; }
    void set(tag::attribute::width, double value) { Top().useWidth = value; }
    void set(tag::attribute::height, double value) { Top().useHeight = value; }

private:
    void Enter(bool shape) {
        if (depth >= MAX_DEPTH) {
            // Deeper elements get no state of their own and no content;
            // the read fails.
            tooDeep = true;
            ++excess;
            return;
        }
        ElementState& state = states[depth];
        if (depth == 0) {
            const double identity[6] = {1, 0, 0, 1, 0, 0};
            std::memcpy(state.matrix, identity, sizeof identity);
            state.shown = state.visible = state.filled = true;
            state.stroked = state.transparent = false;
            state.fillOpacity = state.strokeOpacity = state.strokeWidth = 1;
            state.useDepth = 0;
        } else {
            state = states[depth - 1];
        }
        state.shape = shape;
        state.use = false;
        state.firstPath = drawing.pathCount;
        state.useX = state.useY = 0;
        state.useWidth = state.useHeight = -1;
        state.href = nullptr;
        state.hrefLength = 0;
        ++depth;
        pathOpen = false;
    }

    // A line or curve after a close starts a new path where the closed one
    // started.
    int OpenPath() {
        if (!pathOpen && drawing.pathCount > Top().firstPath) {
            if (!BeginDrawingPath(subpathStart)) return 0;
            pathOpen = true;
        }
        return pathOpen;
    }

    void ShowUseTarget();

    length_factory_type lengths;
    double viewportWidth = 100, viewportHeight = 100;
    bool pathOpen = false;
    DrawingPoint subpathStart = {0, 0};
    DrawingPoint current = {0, 0};  // where the path has got to
};

struct ErrorPolicy {
    typedef Reader context_type;
    // Unknown and unexpected things are left out, as renderers leave them;
    // a value that cannot be parsed leaves its attribute out; a negative
    // size leaves its shape out.
    template <class... A>
    static bool unknown_element(const Reader&, A&&...) {
        return true;
    }
    template <class... A>
    static bool unknown_attribute(const Reader&, A&&...) {
        return true;
    }
    template <class... A>
    static bool unexpected_attribute(const Reader&, A&&...) {
        return true;
    }
    template <class... A>
    static bool required_attribute_not_found(const Reader&, A&&...) {
        return true;
    }
    template <class... A>
    static bool parse_failed(const Reader&, A&&...) {
        return true;
    }
    template <class XmlElementType>
    static bool unexpected_element(const Reader&, const XmlElementType&) {
        return true;
    }
    template <class AttributeTag>
    static bool negative_value(const Reader&, AttributeTag) {
        return true;
    }
};

// A hidden element's content is not read at all.
struct TraversalControl {
    static bool proceed_to_element_content(Reader&) { return !tooDeep && states[depth - 1].shown; }
    static bool proceed_to_next_child(Reader&) { return !tooDeep && !drawing.overflow; }
    template <class XmlElementType>
    static bool process_child(Reader&, const XmlElementType&) {
        return true;
    }
};

// A symbol is drawn only where a use element shows it.
typedef boost::mpl::set<tag::element::svg, tag::element::g, tag::element::a, tag::element::switch_,
                        tag::element::use_, tag::element::path, tag::element::rect,
                        tag::element::circle, tag::element::ellipse, tag::element::line,
                        tag::element::polyline, tag::element::polygon>::type ProcessedElements;
typedef boost::mpl::insert<ProcessedElements, tag::element::symbol>::type UsableElements;

typedef boost::mpl::fold<
    boost::mpl::vector<
        tag::attribute::transform, tag::attribute::display, tag::attribute::visibility,
        tag::attribute::fill, tag::attribute::stroke, tag::attribute::opacity,
        tag::attribute::fill_opacity, tag::attribute::stroke_opacity, tag::attribute::stroke_width,
        tag::attribute::xlink::href, tag::attribute::viewBox, tag::attribute::preserveAspectRatio,
        boost::mpl::pair<tag::element::svg, tag::attribute::x>,
        boost::mpl::pair<tag::element::svg, tag::attribute::y>,
        boost::mpl::pair<tag::element::svg, tag::attribute::width>,
        boost::mpl::pair<tag::element::svg, tag::attribute::height>,
        boost::mpl::pair<tag::element::use_, tag::attribute::x>,
        boost::mpl::pair<tag::element::use_, tag::attribute::y>,
        boost::mpl::pair<tag::element::use_, tag::attribute::width>,
        boost::mpl::pair<tag::element::use_, tag::attribute::height> >,
    traits::shapes_attributes_by_element, boost::mpl::insert<boost::mpl::_1, boost::mpl::_2> >::type
    ProcessedAttributes;

// Arcs reach the reader as arcs: the library's own conversion leaves out
// what the SVG rules say of odd arcs, and on a zero radius computes a count
// of pieces from NaN.
struct PathPolicy : policy::path::minimal {
    static const bool arc_as_cubic_bezier = false;
};

typedef document_traversal<
    processed_elements<ProcessedElements>, processed_attributes<ProcessedAttributes>,
    path_policy<PathPolicy>, basic_shapes_policy<policy::basic_shapes::all_to_path>,
    viewport_policy<policy::viewport::as_transform>,
    length_policy<policy::length::forward_to_method<Reader> >, error_policy<ErrorPolicy>,
    document_traversal_control_policy<TraversalControl> >
    Traversal;

void Reader::ShowUseTarget() {
    ElementState& use = Top();
    if (!use.href || use.useDepth >= MAX_USE_DEPTH) return;
    if (++expansions > MAX_EXPANSIONS) {
        drawing.overflow = true;
        return;
    }
    XmlElement target = FindById(documentRoot, use.href, use.hrefLength);
    if (!target) return;
    const double shift[6] = {1, 0, 0, 1, use.useX, use.useY};
    Multiply(use.matrix, use.matrix, shift);
    ++use.useDepth;
    Traversal::load_referenced_element<referencing_element<tag::element::use_>,
                                       expected_elements<traits::reusable_elements>,
                                       processed_elements<UsableElements> >::load(target, *this);
}

// An arc as the SVG rules draw it: none to its own start, a line when a
// radius is zero, and otherwise cubic curves of at most a quarter turn each
// (radii too small to reach the end are scaled up on the way to the
// centre). The path parser takes no negative radius.
void Reader::path_elliptical_arc_to(double rx, double ry, double rotation, bool largeArc,
                                    bool sweep, double x, double y, tag::coordinate::absolute) {
    if (x == current.x && y == current.y) return;
    double cx = 0, cy = 0, theta1 = 0, theta2 = 0;
    const double phi = rotation * boost::math::constants::degree<double>();
    if (rx > 0 && ry > 0 && std::isfinite(rx) && std::isfinite(ry) && std::isfinite(phi))
        arc_endpoint_to_center(current.x, current.y, x, y, rx, ry, phi, largeArc, sweep, cx, cy,
                               theta1, theta2);
    if (!(rx > 0 && ry > 0) || !std::isfinite(cx + cy + theta1 + theta2 + rx + ry + phi))
        return path_line_to(x, y, tag::coordinate::absolute());
    const double turn = boost::math::constants::two_pi<double>();
    if (sweep && theta2 < theta1) theta2 += turn;
    if (!sweep && theta2 > theta1) theta2 -= turn;
    typedef arc_to_bezier<double> Pieces;
    Pieces pieces(cx, cy, rx, ry, phi, Pieces::circle_angle_tag(), theta1, theta2,
                  Pieces::max_angle_tag(), boost::math::constants::half_pi<double>());
    for (Pieces::iterator it(pieces); !it.eof(); it.advance())
        if (OpenPath())
            AddDrawingCubic({it.p1x(), it.p1y()}, {it.p2x(), it.p2y()}, {it.p3x(), it.p3y()});
    current = {x, y};
}

void Reader::on_exit_element() {
    if (excess > 0) {
        --excess;
        return;
    }
    ElementState& state = Top();
    if (state.use && state.shown) ShowUseTarget();
    const bool painted =
        !state.transparent && ((state.filled && state.fillOpacity > 0) ||
                               (state.stroked && state.strokeOpacity > 0 && state.strokeWidth > 0));
    if (!state.shown || (state.shape && (!state.visible || !painted))) {
        TruncateDrawing(state.firstPath);
    } else if (state.shape) {
        TransformDrawing(state.firstPath, state.matrix);
    }
    --depth;
    pathOpen = false;
}

char fileText[SVG_FILE_MAX + 1];

int Refuse(int result, char* reason, size_t size, const char* text) {
    std::snprintf(reason, size, "%s", text);
    return result;
}

// Reads the whole file; returns its length, or -1 with the reason given.
long ReadFileText(const char* path, char* reason, size_t size) {
    errno = 0;
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) {
        std::snprintf(reason, size, "cannot be opened: %s", std::strerror(errno ? errno : ENOENT));
        return -1;
    }
    bool failed = false;
    size_t length = 0, got;
    while (length <= SVG_FILE_MAX &&
           (got = CheckedRead(stream, fileText + length, SVG_FILE_MAX + 1 - length, &failed)) > 0)
        length += got;
    std::fclose(stream);
    if (failed) {
        std::snprintf(reason, size, "cannot be read: %s", std::strerror(ReadFailureCause()));
        return -1;
    }
    if (length > SVG_FILE_MAX) return Refuse(-1, reason, size, "is larger than 16 MB");
    fileText[length] = 0;
    return (long)length;
}

// How deeply elements nest, counted before parsing: the parser recurses
// once per level and would run out of stack on a file of nothing but
// opening tags. Comments, processing instructions, CDATA, the document type
// and quoted attribute values are passed over as the parser passes over
// them; anything malformed is left for the parser to refuse.
bool NestsTooDeeply(const char* text, long length) {
    const char* p = text;
    const char* const end = text + length;
    int depth = 0;
    auto skipPast = [&](const char* mark) {
        const char* found = std::strstr(p, mark);
        p = found ? found + std::strlen(mark) : end;
    };
    while (p < end) {
        if (*p != '<') {
            ++p;
        } else if (std::strncmp(p, "<!--", 4) == 0) {
            skipPast("-->");
        } else if (std::strncmp(p, "<![CDATA[", 9) == 0) {
            skipPast("]]>");
        } else if (p[1] == '?') {
            skipPast("?>");
        } else if (p[1] == '!') {
            skipPast(">");
        } else if (p[1] == '/') {
            --depth;
            skipPast(">");
        } else {
            // An opening tag: to its end, past quoted values.
            char quote = 0;
            for (++p; p < end && (quote || *p != '>'); ++p)
                if (quote ? *p == quote : *p == '"' || *p == '\'') quote = quote ? 0 : *p;
            if (p < end && p[-1] != '/' && ++depth > MAX_XML_DEPTH) return true;
            ++p;
        }
    }
    return false;
}

int LineOf(const char* where) {
    int line = 1;
    // The parser has written terminators into the text; line ends stay.
    for (const char* p = fileText; p < where && p < fileText + SVG_FILE_MAX; ++p)
        line += *p == '\n';
    return line;
}

// The root must be an svg element in the SVG namespace, as renderers want
// it; the library reads nothing outside that namespace.
bool IsSvgRoot(XmlElement root) {
    static const char SVG_NAMESPACE[] = "http://www.w3.org/2000/svg";
    const size_t ns = root->namespace_uri_size();
    return root->local_name_size() == 3 && std::memcmp(root->local_name(), "svg", 3) == 0 &&
           ns == sizeof SVG_NAMESPACE - 1 &&
           std::memcmp(root->namespace_uri(), SVG_NAMESPACE, ns) == 0;
}

const rapidxml_ns::xml_attribute<>* RootAttribute(XmlElement root, const char* name) {
    const size_t length = std::strlen(name);
    for (auto* a = root->first_attribute(); a; a = a->next_attribute())
        if (a->namespace_uri_size() == 0 && a->local_name_size() == length &&
            std::memcmp(a->local_name(), name, length) == 0)
            return a;
    return nullptr;
}

// A root without a size of its own (or sized in percent) is as large as its
// viewBox, as a renderer shows it alone: that sets what 100% is.
void SizeRootByViewBox(Reader* reader, XmlElement root) {
    const auto* width = RootAttribute(root, "width");
    const auto* height = RootAttribute(root, "height");
    const auto* box = RootAttribute(root, "viewBox");
    const bool ownSize =
        width && height && !std::strchr(width->value(), '%') && !std::strchr(height->value(), '%');
    double x, y, w, h;
    if (ownSize || !box) return;
    char text[256];
    std::snprintf(text, sizeof text, "%.*s", (int)box->value_size(), box->value());
    for (char* p = text; *p; ++p)
        if (*p == ',') *p = ' ';
    if (std::sscanf(text, "%lf %lf %lf %lf", &x, &y, &w, &h) == 4 && w > 0 && h > 0)
        reader->SetViewportSize(w, h);
}

}  // namespace

int ReadSvgDrawing(const char* path, char* reason, size_t reasonSize) {
    ClearDrawing();
    const long length = ReadFileText(path, reason, reasonSize);
    if (length < 0) return SVG_READ_UNREADABLE;

    // RapidXML parses in place and allocates its nodes as it goes; it
    // throws on malformed text, and its allocation may throw when memory
    // runs out. Both end here.
    if (NestsTooDeeply(fileText, length))
        return Refuse(SVG_READ_TOO_COMPLEX, reason, reasonSize, "nests elements too deeply");
    static rapidxml_ns::xml_document<> document;
    document.clear();
    try {
        document.parse<rapidxml_ns::parse_validate_closing_tags>(fileText);
    } catch (const rapidxml_ns::parse_error& error) {
        std::snprintf(reason, reasonSize, "is not well-formed XML: %s (line %d)", error.what(),
                      LineOf(error.where<char>()));
        return SVG_READ_NOT_XML;
    } catch (const std::bad_alloc&) {
        return Refuse(SVG_READ_TOO_COMPLEX, reason, reasonSize, "is too large to read");
    }
    rapidxml_ns::xml_node<>* root = document.first_node();
    while (root && root->type() != rapidxml_ns::node_element) root = root->next_sibling();
    if (!root)
        return Refuse(SVG_READ_NOT_XML, reason, reasonSize, "is not well-formed XML: no element");
    if (!IsSvgRoot(root))
        return Refuse(SVG_READ_NOT_SVG, reason, reasonSize,
                      "is not an SVG file (its root is no svg element of the SVG namespace)");

    char language[LANGUAGE_ROOM];
    UserLanguage(language);
    ApplySvgConditions(&document, root, language);
    DropUnreadablePaints(root);

    depth = 0;
    tooDeep = false;
    excess = 0;
    expansions = 0;
    documentRoot = root;
    rootPending = true;
    static Reader reader;
    reader = Reader();
    SizeRootByViewBox(&reader, root);
    reader.EnterRoot();
    Traversal::load_document(root, reader);
    document.clear();
    if (tooDeep)
        return Refuse(SVG_READ_TOO_COMPLEX, reason, reasonSize, "nests elements too deeply");
    if (drawing.overflow) {
        std::snprintf(reason, reasonSize, "has more than %d paths or %d segments",
                      DRAWING_MAX_PATHS, DRAWING_MAX_SEGMENTS);
        return SVG_READ_TOO_COMPLEX;
    }
    if (drawing.pathCount == 0)
        return Refuse(SVG_READ_NOTHING, reason, reasonSize, "has nothing to draw");
    return SVG_READ_OK;
}
