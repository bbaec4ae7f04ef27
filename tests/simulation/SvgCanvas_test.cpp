#include "simulation/SvgCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvex::simulation {
namespace {

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

// Tags open and close in order, attribute quotes pair up, every "&" starts an entity.
bool wellFormed(const std::string& xml) {
    for (std::size_t amp = xml.find('&'); amp != std::string::npos; amp = xml.find('&', amp + 1)) {
        const std::string_view rest = std::string_view(xml).substr(amp);
        if (!rest.starts_with("&amp;") && !rest.starts_with("&lt;") && !rest.starts_with("&gt;") &&
            !rest.starts_with("&quot;") && !rest.starts_with("&apos;"))
            return false;
    }
    std::vector<std::string> open;
    for (std::size_t pos = xml.find('<'); pos != std::string::npos; pos = xml.find('<', pos + 1)) {
        const std::size_t end = xml.find('>', pos);
        if (end == std::string::npos) return false;
        const std::string tag = xml.substr(pos + 1, end - pos - 1);
        if (std::count(tag.begin(), tag.end(), '"') % 2 != 0) return false;
        if (tag.starts_with("?")) {
            if (!tag.ends_with("?")) return false;
        } else if (tag.starts_with("/")) {
            if (open.empty() || open.back() != tag.substr(1)) return false;
            open.pop_back();
        } else if (!tag.ends_with("/")) {
            open.push_back(tag.substr(0, tag.find(' ')));
        }
    }
    return open.empty();
}

TEST(SvgCanvas, DocumentHasSizeViewBoxAndBackground) {
    SvgCanvas canvas(320, 200, latin1ToUtf8);
    canvas.setBrush({0x203040, BrushStyle::Solid});
    canvas.fillRect(0, 0, 320, 200);
    const std::string svg = canvas.document();
    EXPECT_TRUE(wellFormed(svg)) << svg;
    EXPECT_NE(svg.find("width=\"320\" height=\"200\" viewBox=\"0 0 320 200\""), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"320\" height=\"200\" fill=\"#403020\"/>"),
              std::string::npos);
}

TEST(SvgCanvas, ColoursAreStoredRedInTheLowByte) {
    SvgCanvas canvas(10, 10, latin1ToUtf8);
    canvas.setPen({0x0000FF, PenStyle::Solid, PenMode::Copy});
    canvas.moveTo(1, 1);
    canvas.lineTo(5, 5);
    EXPECT_NE(canvas.document().find("stroke=\"#ff0000\""), std::string::npos);
}

TEST(SvgCanvas, ConnectedLinesOfOnePenFormOnePolyline) {
    SvgCanvas canvas(100, 100, latin1ToUtf8);
    canvas.moveTo(1, 1);
    canvas.lineTo(5, 1);
    canvas.lineTo(5, 5);
    canvas.setPen({0x00FF00, PenStyle::Dotted, PenMode::Copy});
    canvas.lineTo(9, 9);
    canvas.moveTo(20, 20);
    canvas.lineTo(30, 30);
    const std::string svg = canvas.document();
    EXPECT_NE(svg.find("<polyline points=\"1.5,1.5 5.5,1.5 5.5,5.5\" stroke=\"#000000\"/>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<polyline points=\"5.5,5.5 9.5,9.5\" stroke=\"#00ff00\" stroke-dasharray"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("points=\"20.5,20.5 30.5,30.5\" stroke=\"#00ff00\" stroke-dasharray"),
              std::string::npos)
        << svg;
}

TEST(SvgCanvas, MoveToTheEndOfAStrokeStartsANewOne) {
    SvgCanvas canvas(100, 100, latin1ToUtf8);
    canvas.moveTo(1, 1);
    canvas.lineTo(5, 1);
    canvas.moveTo(5, 1);
    canvas.lineTo(5, 5);
    const std::string svg = canvas.document();
    EXPECT_NE(svg.find("points=\"1.5,1.5 5.5,1.5\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("points=\"5.5,1.5 5.5,5.5\""), std::string::npos) << svg;
}

TEST(SvgCanvas, TextIsEscapedAndConverted) {
    SvgCanvas canvas(100, 100, latin1ToUtf8);
    canvas.setBrush({0xFFFFFF, BrushStyle::Clear});
    canvas.textOut(10, 20, "<a & \"b\" \xFC>\x01");
    const std::string svg = canvas.document();
    EXPECT_TRUE(wellFormed(svg)) << svg;
    EXPECT_NE(svg.find(">&lt;a &amp; &quot;b&quot; \xC3\xBC&gt;</text>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("<rect"), std::string::npos); // clear brush: no background
}

TEST(SvgCanvas, TextMetricsGrowWithTextAndFont) {
    SvgCanvas canvas(100, 100, latin1ToUtf8);
    EXPECT_GT(canvas.textWidth("-70"), canvas.textWidth("70"));
    EXPECT_EQ(canvas.textWidth(""), 0);
    EXPECT_EQ(canvas.textHeight("x"), 14); // 9 points are 12 pixels, Arial's line 1.15 of them
    canvas.setFontSize(18);
    EXPECT_EQ(canvas.textHeight("x"), 28);
}

} // namespace
} // namespace korvex::simulation
