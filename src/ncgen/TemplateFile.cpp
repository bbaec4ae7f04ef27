#include "ncgen/TemplateFile.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/TextLines.h"
#include "base/DecimalText.h"
#include "ncgen/LayerTable.h"
#include "ncgen/NumberReading.h"
#include "base/TextNumbers.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <optional>

namespace korvex::ncgen {

using base::ReadFileBytes;
using base::WriteFileAtomically;

namespace {

constexpr int ViewDigits = 15;

// The 3D view values in file order.
std::array<std::pair<std::string_view, long double TJob::*>, 8> viewKeywords() {
    return {{{"3DZ ", &TJob::D3Zrotation},
             {"3DY ", &TJob::D3Yrotation},
             {"3DX1 ", &TJob::D3WorldX1},
             {"3DX2 ", &TJob::D3WorldX2},
             {"3DY1 ", &TJob::D3WorldY1},
             {"3DY2 ", &TJob::D3WorldY2},
             {"3DZ1 ", &TJob::D3WorldZ1},
             {"3DZ2 ", &TJob::D3WorldZ2}}};
}

enum class TLayerKeyword {
    None,
    Hide,
    Size,
    DMForm,
    DMEnc,
    Content,
    Dmre,
    Hrt,
    HrtText,
    Angle,
    XDis,
    YDis,
    XMirror,
    YMirror,
    Data
};

constexpr std::array<std::pair<std::string_view, TLayerKeyword>, 14> LAYER_KEYWORDS = {{
    {"HIDE", TLayerKeyword::Hide},
    {"SIZE ", TLayerKeyword::Size},
    {"DMFORM ", TLayerKeyword::DMForm},
    {"DMENC ", TLayerKeyword::DMEnc},
    {"CONTENT ", TLayerKeyword::Content},
    {"DMRE ", TLayerKeyword::Dmre},
    {"HRT ", TLayerKeyword::Hrt},
    {"HRTTEXT ", TLayerKeyword::HrtText},
    {"ANGLE ", TLayerKeyword::Angle},
    {"XDIS ", TLayerKeyword::XDis},
    {"YDIS ", TLayerKeyword::YDis},
    {"XMIRROR", TLayerKeyword::XMirror},
    {"YMIRROR", TLayerKeyword::YMirror},
    {"DATA", TLayerKeyword::Data},
}};

// The layer keyword the line starts with, and the value after it.
TLayerKeyword layerKeyword(std::string_view line, std::string_view& value) {
    for (const auto& [keyword, kind] : LAYER_KEYWORDS) {
        if (line.starts_with(keyword)) {
            value = line.substr(keyword.size());
            return kind;
        }
    }
    return TLayerKeyword::None;
}

void storeIndex(std::optional<std::uint8_t> (*read)(std::string_view), std::string_view value,
                std::string& field, TLoadReport& report) {
    if (read(value)) {
        field = std::string(value);
    } else {
        field = "0";
        ++report.IndexFallbacks;
    }
}

void applyLayerKeyword(TLayerKeyword keyword, std::string_view value, TLayer& layer,
                       TLoadReport& report) {
    switch (keyword) {
    case TLayerKeyword::Hide:
        layer.Shown = false;
        break;
    case TLayerKeyword::Size:
        layer.Size = std::string(value);
        break;
    case TLayerKeyword::DMForm:
        storeIndex(ReadSymbolSizeIndex, value, layer.DMForm, report);
        break;
    case TLayerKeyword::DMEnc:
        storeIndex(ReadEncodationIndex, value, layer.DMEnc, report);
        break;
    case TLayerKeyword::Content: {
        const auto kind = content::ContentKindFromName(value);
        layer.Content = kind.value_or(content::TContentKind::Text);
        if (!kind) ++report.UnknownContents;
        break;
    }
    case TLayerKeyword::Dmre:
        layer.Dmre = value == "1";
        break;
    case TLayerKeyword::Hrt:
        // An unknown position leaves the layer without a line, as a reader without it would.
        if (std::optional<THrtLine> hrt = ReadHrtValue(value)) {
            hrt->Text = std::move(layer.Hrt.Text);
            layer.Hrt = std::move(*hrt);
        }
        break;
    case TLayerKeyword::HrtText:
        layer.Hrt.Text = std::string(value);
        break;
    case TLayerKeyword::Angle:
        layer.Angle = std::string(value);
        break;
    case TLayerKeyword::XDis:
        layer.XDis = std::string(value);
        break;
    case TLayerKeyword::YDis:
        layer.YDis = std::string(value);
        break;
    case TLayerKeyword::XMirror:
        layer.XMirror = true;
        break;
    case TLayerKeyword::YMirror:
        layer.YMirror = true;
        break;
    case TLayerKeyword::Data:
    case TLayerKeyword::None:
        break;
    }
}

void applyJobKeyword(std::string_view line, TJob& job) {
    if (line.starts_with("BLANK ")) {
        job.BlankDefinition = std::string(line.substr(6));
        return;
    }
    if (line.starts_with("SURFACE ")) {
        // An unknown word keeps the job flat: its Z stays what the layer's plane gives.
        job.Surface = ReadSurfaceMode(line.substr(8)).value_or(TSurfaceMode::Flat);
        return;
    }
    for (const auto& [keyword, member] : viewKeywords()) {
        if (line.starts_with(keyword)) {
            if (const TNumberReading reading = ReadNumber(line.substr(keyword.size()));
                reading.ok) {
                job.*member = reading.value;
            }
            return;
        }
    }
}

} // namespace

ETemplateWriteError::ETemplateWriteError(std::filesystem::path fileName)
    : EKorvexError("Datei " + base::PathText(fileName) + " kann nicht erstellt werden"),
      fileName_(std::move(fileName)) {}

int ETemplateWriteError::TextNumber() const {
    return text::TemplateNotWritable;
}

void ReadVorlage(std::string_view bytes, TJob& job, TLoadReport& report,
                 const TLoadOptions& options) {
    TLayerTable& table = job.Layers;
    job.BlankDefinition.clear();
    job.Surface = TSurfaceMode::Flat;
    table.LayerCount = 0;
    bool textBlock = false;
    bool anyLayer = false;
    TLayer* layer = nullptr; // null before the first layer and inside surplus layers
    int lineNumber = 0;
    for (const std::string& text : base::SplitLines(bytes)) {
        const std::string_view line = text;
        ++lineNumber;
        if (line.starts_with("LAYER ")) {
            textBlock = false;
            anyLayer = true;
            layer = nullptr;
            if (table.AddLayer(line.substr(6), options.CurrentSymbolSize,
                               options.CurrentEncodation)) {
                layer = &table.Layer(table.LayerCount);
            } else {
                ++report.DroppedLayers;
            }
            continue;
        }
        if (textBlock && line.starts_with('/')) {
            if (layer->LineCount < MaxLayerLines) {
                layer->Lines[static_cast<std::size_t>(layer->LineCount++)] =
                    std::string(line.substr(1));
            } else {
                ++report.DroppedTextLines;
            }
            continue;
        }
        std::string_view value;
        if (const TLayerKeyword keyword = layerKeyword(line, value);
            keyword != TLayerKeyword::None) {
            if (layer == nullptr) {
                report.IgnoredLayerLines += anyLayer ? 0 : 1;
            } else if (keyword == TLayerKeyword::Data) {
                textBlock = true;
            } else {
                applyLayerKeyword(keyword, value, *layer, report);
                if (report.UnknownContents > 0 && report.UnknownContentLine == 0) {
                    report.UnknownContentLine = lineNumber;
                    report.UnknownContent = text;
                }
            }
            continue;
        }
        applyJobKeyword(line, job);
    }
    if (table.LayerCount == 0) {
        table.AddLayer(options.DefaultLayerName, options.CurrentSymbolSize,
                       options.CurrentEncodation);
        report.AddedDefaultLayer = true;
    }
    table.CurrentLayer = 1;
}

bool LadeVorlage(const std::filesystem::path& fileName, TJob& job, TLoadReport& report,
                 const TLoadOptions& options) {
    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) {
        return false;
    }
    report = {};
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) {
        job.Layers.CurrentLayer = 1;
        return true;
    }
    report.Opened = true;
    ReadVorlage(bytes, job, report, options);
    return true;
}

std::string VorlageText(const TJob& job) {
    std::string text;
    const auto line = [&text](std::string_view a, std::string_view b = {}) {
        text += a;
        text += b;
        text += "\r\n";
    };
    for (int n = 1; n <= job.Layers.LayerCount && n <= MaxLayers; ++n) {
        const TLayer& layer = job.Layers.Layer(n);
        line("LAYER ", layer.Name);
        line(layer.Shown ? "SHOW" : "HIDE");
        line("SIZE ", layer.Size);
        line("DMFORM ", layer.DMForm);
        line("DMENC ", layer.DMEnc);
        // Text writes no line, so a Text job stays the file it always was.
        if (layer.Content != content::TContentKind::Text)
            line("CONTENT ", content::ContentFileName(layer.Content));
        if (layer.Dmre) line("DMRE 1");
        if (layer.Hrt.Position != THrtPosition::None) line("HRT ", HrtValue(layer.Hrt));
        // A free text without a position is still the user's: it comes back with the position.
        if (!layer.Hrt.Text.empty()) line("HRTTEXT ", layer.Hrt.Text);
        line("ANGLE ", layer.Angle);
        line("XDIS ", layer.XDis);
        line("YDIS ", layer.YDis);
        if (layer.XMirror) {
            line("XMIRROR");
        }
        if (layer.YMirror) {
            line("YMIRROR");
        }
        line("DATA");
        const int count = std::min(std::max(layer.LineCount, 0), MaxLayerLines);
        for (int i = 0; i < count; ++i) {
            line("/", layer.Lines[static_cast<std::size_t>(i)]);
        }
    }
    line("BLANK ", job.BlankDefinition);
    // Only when asked for, so that a flat job's file stays as it always was.
    if (job.Surface != TSurfaceMode::Flat) line("SURFACE ", SurfaceModeName(job.Surface));
    for (const auto& [keyword, member] : viewKeywords()) {
        line(keyword, base::GeneralText(job.*member, ViewDigits));
    }
    return text;
}

void SpeichereVorlage(const std::filesystem::path& fileName, const TJob& job) {
    if (!WriteFileAtomically(fileName, VorlageText(job))) throw ETemplateWriteError(fileName);
}

base::TTextMessage CheckContentKinds(const TLoadReport& report, const std::filesystem::path& file) {
    if (report.UnknownContentLine == 0) return {};
    std::string known;
    for (int i = 1; i < content::CONTENT_KIND_COUNT; ++i)
        known += (i > 1 ? ", " : "") + std::string(content::CONTENT_FILE_NAMES[i]);
    return {text::UnknownContentKind,
            0,
            base::PathText(file),
            {std::to_string(report.UnknownContentLine), report.UnknownContent, known}};
}

std::vector<base::TTextMessage> LoadReportNotes(const TLoadReport& report) {
    std::vector<base::TTextMessage> notes;
    const std::pair<int, int> counts[] = {{text::LoaderDroppedTextLines, report.DroppedTextLines},
                                          {text::LoaderIgnoredLines, report.IgnoredLayerLines},
                                          {text::LoaderDroppedLayers, report.DroppedLayers},
                                          {text::LoaderIndexFallbacks, report.IndexFallbacks}};
    for (const auto& [number, count] : counts)
        if (count > 0) notes.push_back({number, 0, {}, {std::to_string(count)}});
    return notes;
}

} // namespace korvex::ncgen
