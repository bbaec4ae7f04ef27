#pragma once

#include "base/TextMessage.h"
#include "content/SymbolContent.h"
#include "datamatrix/TFormat.h"
#include "ncgen/DateCodes.h"
#include "ncgen/LayerTable.h"
#include "ncgen/NCFormat.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/Surface.h"
#include "ncgen/TemplateFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// The main window as the generate command reads it. In a batch run (the window's /V ... /D and
// korvex-cli) these are layer 1 of the loaded job (SelectLayer(1)) and the active profile's
// safety distance and infeed depth, as the window shows them after loading.
struct TGenerateFields {
    TLayerFields Layer;         // the current layer's fields: EText, EGroesse, offsets, ...
    std::string REbeneauswahl;  // safety distance field
    std::string ZEbeneauswahl;  // infeed depth field
    TSurface Surface;           // the job's choice and its blank's cylinder
    std::optional<TMoment> Now; // the date codes' moment; nothing: the clock's
};

enum class TGenerateOutcome {
    Generated, // NCLines and SimulationLines hold the new program
    NoText,    // nothing to encode: the window keeps Convert disabled, a batch run fails
    Refused,   // Message says why; nothing was generated
};

struct TGenerateCommandResult {
    TGenerateOutcome Outcome = TGenerateOutcome::Refused;
    base::TTextMessage Message; // when Refused
    // A rejected offset field is set to this text (after the message), as the window does.
    std::optional<std::string> EXVersatz;
    std::optional<std::string> EYVersatz;
    std::vector<std::string> NCLines;         // the NC program, one entry per editor line
    std::vector<std::string> SimulationLines; // "ZR;" and "XY;" lines for the graphic
    std::vector<std::size_t> PointLines;      // where each dot's template begins in NCLines
    TNCFormat LastUsedFormat;
    // The symbol: the size the layer asks for, and the one the text needed (shown in red
    // by the preview when they differ and the layer's size is not AUTO).
    datamatrix::TFormat PreferredFormat = datamatrix::AUTO;
    datamatrix::TFormat CalculatedFormat = datamatrix::AUTO;
    int DroppedTextLines = 0; // text lines beyond 100 that the layer could not keep
    // The text as the layer's content kind: what was encoded and what a reader should see.
    content::TSymbolContent Content;
    // What MIL-STD-130 says about the mark of an ISO/IEC 15434 content (module size, side,
    // square); the program is written all the same.
    std::vector<base::TTextMessage> ContentWarnings;
    std::string HrtText; // what the layer's human-readable line marks in dots
};

// The generate command (ConvertClick), one sequence for the window's Convert button, its
// automatic regeneration, the batch run and korvex-cli:
//   1. the status check of the fields (Checkstatus: rotation, R and Z; text 9002 or 9008),
//   2. dot spacing and offsets (text 9008 with 9009/9010/9011; a bad offset is reset),
//   3. a profile without any template line is refused (text 9016 naming profileName), and
//      one whose numbers could not be read back (text 9017, CheckNumberFormat),
//   4. no text: NoText; a round surface without a cylinder along X or Y (text 9850); text
//      that its content kind refuses (GS1, ISO/IEC 15434): the reason, naming the element,
//   5. StoreCurrentLayer, the symbol of the text with the layer's size and encodation,
//      GenerateLayer for layer 1 with the R and Z fields (refused, text 9851 or 9852, when
//      the symbol cannot be laid onto the cylinder).
// The window calls it on every generation with its fields (Layer.CurrentSymbolSize and
// CurrentEncodation set to the ones in use) and shows the result: a message box for Message,
// the offset resets, NCLines in NCEditor, SimulationLines in NCEditorSim for the graphic. The
// rest stays with the window: ending pick mode and emptying its line lists first, the
// progress bar, the highlighter and the view switch. Nothing is written to disk; the batch
// end writes NCLines joined by base::JoinLines (CR LF between lines) to the output file.
// profileName is what a refusal of the profile names: its name, or its file when it has none.
// Throws the core's EKorvexError errors (ERangeError when no symbol size holds the text,
// ENumberFormatError); the layer is stored by then.
TGenerateCommandResult GenerateCommand(TLayerTable& layers, const TGenerateFields& fields,
                                       const TActiveProfile& profile, std::string_view profileName);

// The same into a result the caller owns and has emptied: when an error ends the generation,
// NCLines and SimulationLines keep what was written so far and LastUsedFormat is set, so the
// window can show the partial program as the generator leaves it.
void GenerateCommand(TLayerTable& layers, const TGenerateFields& fields,
                     const TActiveProfile& profile, std::string_view profileName,
                     TGenerateCommandResult& result);

// A batch run refuses a job file in which the template reader found no layer: the reader adds
// a default layer so that the window keeps its text, but a program from that layer would be
// marked at a placement nobody chose. Text 9015 with the file as the detail; empty when the
// job holds a layer.
base::TTextMessage CheckBatchJob(const TLoadReport& report, const std::filesystem::path& file);

} // namespace korvex::ncgen
