#pragma once

class QPrinter;
class QWidget;

namespace korvex::datamatrix {
class TDatamatrix;
}

namespace korvex::app {

// One page with the symbol at 20 printer pixels per module, a tenth of the page width from the
// top left corner of the printable area. The encoder keeps both values afterwards.
void PrintSymbol(datamatrix::TDatamatrix& symbol, QPrinter& printer);
// The test print as the menu runs it: the printer dialog first; a cancelled one prints nothing.
void AskAndPrintSymbol(QWidget* parent, datamatrix::TDatamatrix& symbol);

} // namespace korvex::app
