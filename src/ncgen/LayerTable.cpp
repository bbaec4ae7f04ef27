#include "ncgen/LayerTable.h"

#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"

#include <algorithm>
#include <stdexcept>

namespace korvex::ncgen {

TLayer& TLayerTable::Layer(int n) {
    if (n < 1 || n > MaxLayers) {
        throw std::out_of_range("Ebene " + std::to_string(n) + " existiert nicht");
    }
    return Layers[static_cast<std::size_t>(n - 1)];
}

const TLayer& TLayerTable::Layer(int n) const {
    return const_cast<TLayerTable*>(this)->Layer(n);
}

void TLayerTable::ClearLayers() {
    for (int n = 1; n <= LayerCount; ++n) {
        TLayer& layer = Layer(n);
        layer = TLayer{};
        layer.Shown = false;
    }
    LayerCount = 0;
}

bool TLayerTable::AddLayer(std::string_view name, std::uint8_t currentSymbolSize,
                           std::uint8_t currentEncodation) {
    if (LayerCount >= MaxLayers) {
        return false;
    }
    ++LayerCount;
    TLayer& layer = Layer(LayerCount);
    layer = TLayer{};
    layer.Name = std::string(name);
    layer.DMForm = std::to_string(currentSymbolSize);
    layer.DMEnc = std::to_string(currentEncodation);
    return true;
}

TSelectedLayer TLayerTable::SelectLayer(int n) {
    const TLayer& layer = Layer(n);
    CurrentLayer = static_cast<std::uint8_t>(n);
    TSelectedLayer selected;
    TLayerFields& fields = selected.Fields;
    fields.LText = layer.Name;
    const auto count = std::clamp(layer.LineCount, 0, MaxLayerLines);
    fields.EText.assign(layer.Lines.begin(), layer.Lines.begin() + count);
    fields.EYVersatz = layer.YDis;
    fields.EXVersatz = layer.XDis;
    fields.EGroesse = layer.Size;
    fields.EDrehWinkel = layer.Angle;
    fields.EXSpiegel = layer.XMirror;
    fields.EYSPiegel = layer.YMirror;
    fields.Content = layer.Content;
    fields.Dmre = layer.Dmre;
    fields.Hrt = layer.Hrt;
    const auto size = ReadSymbolSizeIndex(layer.DMForm);
    const auto encodation = ReadEncodationIndex(layer.DMEnc);
    fields.CurrentSymbolSize = size.value_or(0);
    fields.CurrentEncodation = encodation.value_or(0);
    selected.IndexFallback = !size || !encodation;
    return selected;
}

int TLayerTable::StoreCurrentLayer(const TLayerFields& fields) {
    TLayer& layer = Layer(CurrentLayer);
    const auto count = std::min<std::size_t>(fields.EText.size(), MaxLayerLines);
    layer.LineCount = static_cast<std::int32_t>(count);
    std::copy_n(fields.EText.begin(), count, layer.Lines.begin());
    std::fill(layer.Lines.begin() + static_cast<std::ptrdiff_t>(count), layer.Lines.end(),
              std::string());
    layer.Size = fields.EGroesse;
    layer.DMForm = std::to_string(fields.CurrentSymbolSize);
    layer.DMEnc = std::to_string(fields.CurrentEncodation);
    layer.XDis = fields.EXVersatz;
    layer.YDis = fields.EYVersatz;
    layer.Angle = fields.EDrehWinkel;
    layer.XMirror = fields.EXSpiegel;
    layer.YMirror = fields.EYSPiegel;
    layer.Content = fields.Content;
    layer.Dmre = fields.Dmre;
    layer.Hrt = fields.Hrt;
    return static_cast<int>(fields.EText.size() - count);
}

std::optional<std::uint8_t> ReadIndexText(std::string_view text, int count) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) {
        return std::nullopt;
    }
    if (text[i] == '+') {
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value >= static_cast<unsigned>(count)) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<std::uint8_t> ReadSymbolSizeIndex(std::string_view text) {
    return ReadIndexText(text, datamatrix::FORMAT_COUNT);
}

std::optional<std::uint8_t> ReadEncodationIndex(std::string_view text) {
    return ReadIndexText(text, datamatrix::ENCODING_COUNT);
}

} // namespace korvex::ncgen
