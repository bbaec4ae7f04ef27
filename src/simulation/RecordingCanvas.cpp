#include "simulation/RecordingCanvas.h"

#include <algorithm>

namespace korvex::simulation {

RecordingCanvas::Record RecordingCanvas::make(Kind kind) const {
    Record record;
    record.kind = kind;
    record.pen = pen();
    record.brush = brush();
    record.font = font();
    return record;
}

void RecordingCanvas::fillRect(int x1, int y1, int x2, int y2) {
    Record record = make(Kind::FillRect);
    record.points = {{x1, y1}, {x2, y2}};
    records_.push_back(std::move(record));
}

void RecordingCanvas::polyline(std::span<const PixelPoint> points) {
    Record record = make(Kind::Polyline);
    record.points.assign(points.begin(), points.end());
    records_.push_back(std::move(record));
}

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
    Record record = make(Kind::Text);
    record.points = {{x, y}};
    record.text = std::string(text);
    records_.push_back(std::move(record));
}

int RecordingCanvas::textWidth(std::string_view text) const {
    return GLYPH_WIDTH * static_cast<int>(text.size());
}

int RecordingCanvas::textHeight(std::string_view) const {
    return TEXT_HEIGHT;
}

void RecordingCanvas::drawLine(PixelPoint from, PixelPoint to) {
    Record record = make(Kind::Line);
    record.points = {from, to};
    records_.push_back(std::move(record));
}

std::size_t RecordingCanvas::count(Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        records_.begin(), records_.end(), [kind](const Record& r) { return r.kind == kind; }));
}

} // namespace korvex::simulation
