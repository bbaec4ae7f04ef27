#include "simulation/SvgCanvas.h"

#include <charconv>
#include <cmath>

namespace korvex::simulation {

namespace {

std::string colorText(Color color) {
    static constexpr char HEX[] = "0123456789abcdef";
    std::string text = "#";
    for (const int shift : {0, 8, 16}) { // 0x00BBGGRR: red is the low byte
        const unsigned byte = (color >> shift) & 0xFFu;
        text += HEX[byte >> 4];
        text += HEX[byte & 0xFu];
    }
    return text;
}

// Strokes one pixel wide sit on pixel centres.
std::string centre(int v) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(v) + 0.5);
    return std::string(buffer, r.ptr);
}

std::string escapeXml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            // XML 1.0 allows no C0 controls but tab, line feed and carriage return.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

// Advance widths of Arial in thousandths of an em.
int advance(unsigned char c) {
    if (c >= '0' && c <= '9') return 556;
    switch (c) {
    case '.':
    case ',':
    case ' ':
        return 278;
    case '-':
        return 333;
    case '+':
        return 584;
    case 'i':
    case 'j':
    case 'l':
        return 222;
    case 'f':
    case 't':
        return 278;
    case 'm':
        return 833;
    case 'w':
        return 722;
    default:
        break;
    }
    if (c >= 'A' && c <= 'Z') return 667;
    return 556;
}

constexpr double ASCENT = 0.905;
constexpr double LINE_HEIGHT = 1.15;

} // namespace

SvgCanvas::SvgCanvas(int width, int height, TextConverter toUtf8)
    : width_(width), height_(height), toUtf8_(std::move(toUtf8)) {}

int SvgCanvas::fontPixels() const {
    return static_cast<int>(std::lround(font().size * 96.0 / 72.0));
}

void SvgCanvas::fillRect(int x1, int y1, int x2, int y2) {
    if (brush().style == BrushStyle::Clear || x2 <= x1 || y2 <= y1) return;
    flushRun();
    body_ += "<rect x=\"" + std::to_string(x1) + "\" y=\"" + std::to_string(y1) + "\" width=\"" +
             std::to_string(x2 - x1) + "\" height=\"" + std::to_string(y2 - y1) + "\" fill=\"" +
             colorText(brush().color) + "\"/>\n";
}

void SvgCanvas::polyline(std::span<const PixelPoint> points) {
    flushRun();
    writePolyline(points, pen());
}

void SvgCanvas::drawLine(PixelPoint from, PixelPoint to) {
    if (run_.empty() || !(runPen_ == pen()) || !(run_.back() == from)) {
        flushRun();
        run_.push_back(from);
        runPen_ = pen();
    }
    run_.push_back(to);
}

void SvgCanvas::flushRun() {
    if (run_.empty()) return;
    writePolyline(run_, runPen_);
    run_.clear();
}

void SvgCanvas::writePolyline(std::span<const PixelPoint> points, const Pen& pen) {
    if (points.empty()) return;
    body_ += "<polyline points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) body_ += ' ';
        body_ += centre(points[i].x) + ',' + centre(points[i].y);
    }
    body_ += "\" stroke=\"" + colorText(pen.color) + '"';
    if (pen.style == PenStyle::Dotted) body_ += " stroke-dasharray=\"2 2\"";
    body_ += "/>\n";
}

void SvgCanvas::textOut(int x, int y, std::string_view text) {
    flushRun();
    if (brush().style != BrushStyle::Clear) {
        body_ += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                 std::to_string(textWidth(text)) + "\" height=\"" +
                 std::to_string(textHeight(text)) + "\" fill=\"" + colorText(brush().color) +
                 "\"/>\n";
    }
    const int pixels = fontPixels();
    const long baseline = y + std::lround(pixels * ASCENT);
    body_ += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(baseline) +
             "\" font-family=\"" + escapeXml(toUtf8_(font().name)) +
             ", Helvetica, sans-serif\" font-size=\"" + std::to_string(pixels) + "\" fill=\"" +
             colorText(font().color) + "\">" + escapeXml(toUtf8_(text)) + "</text>\n";
}

int SvgCanvas::textWidth(std::string_view text) const {
    long total = 0;
    for (const char c : text)
        total += advance(static_cast<unsigned char>(c));
    return static_cast<int>(std::lround(static_cast<double>(total) * fontPixels() / 1000.0));
}

int SvgCanvas::textHeight(std::string_view) const {
    return static_cast<int>(std::lround(fontPixels() * LINE_HEIGHT));
}

std::string SvgCanvas::document() {
    flushRun();
    const std::string w = std::to_string(width_);
    const std::string h = std::to_string(height_);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + ' ' + h +
           "\">\n"
           "<g fill=\"none\" stroke-width=\"1\" stroke-linecap=\"square\">\n" +
           body_ + "</g>\n</svg>\n";
}

} // namespace korvex::simulation
