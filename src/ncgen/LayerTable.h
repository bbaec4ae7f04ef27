#pragma once

#include "ncgen/Layer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

inline constexpr int MaxLayers = 50;

// The main window's texts and toggles of the current layer; the window only copies widgets.
struct TLayerFields {
    std::string LText;              // caption above the text field: the layer name
    std::vector<std::string> EText; // one entry per line of the text field
    std::string EGroesse;
    std::string EXVersatz;
    std::string EYVersatz;
    std::string EDrehWinkel;
    bool EXSpiegel = false;
    bool EYSPiegel = false;
    std::uint8_t CurrentSymbolSize = 0;
    std::uint8_t CurrentEncodation = 0;
    content::TContentKind Content = content::TContentKind::Text;
    bool Dmre = false;
    THrtLine Hrt;

    bool operator==(const TLayerFields&) const = default;
};

// Result of SelectLayer: the fields, and whether DMForm/DMEnc were unusable and replaced by 0.
struct TSelectedLayer {
    TLayerFields Fields;
    bool IndexFallback = false;
};

// The job's layers 1-50; LayerCount of them are used, CurrentLayer is the one the window shows.
class TLayerTable {
  public:
    std::array<TLayer, MaxLayers> Layers; // layers 1-50 at index 0-49
    std::uint8_t LayerCount = 0;
    std::uint8_t CurrentLayer = 1;

    // Layer n (1-50); throws std::out_of_range otherwise.
    TLayer& Layer(int n);
    const TLayer& Layer(int n) const;

    // Resets the used layers (hidden, empty, "0.5"/"0" texts) and sets LayerCount to 0.
    void ClearLayers();

    // Appends a layer with the defaults of a new layer; false (no change) when 50 are used.
    bool AddLayer(std::string_view name, std::uint8_t currentSymbolSize,
                  std::uint8_t currentEncodation);

    // Makes layer n current and returns what the main window must show.
    TSelectedLayer SelectLayer(int n);

    // Copies the window into layer CurrentLayer; returns how many text lines beyond 100 were
    // dropped.
    int StoreCurrentLayer(const TLayerFields& fields);
};

// A symbol size or encodation index text: a whole number below `count`, else nothing.
std::optional<std::uint8_t> ReadIndexText(std::string_view text, int count);

// The stored DMForm and DMEnc texts: the index of a symbol size (AUTO included) or of an
// encodation. A larger number would select AUTO or ASCII without a word.
std::optional<std::uint8_t> ReadSymbolSizeIndex(std::string_view text);
std::optional<std::uint8_t> ReadEncodationIndex(std::string_view text);

} // namespace korvex::ncgen
