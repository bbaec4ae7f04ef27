#include "app/TestPrint.h"

#include "app/PainterCanvas.h"
#include "datamatrix/TDatamatrix.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace korvex::app {

void PrintSymbol(datamatrix::TDatamatrix& symbol, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    symbol.PixelsDot = 20;
    symbol.Margin = printer.pageLayout().paintRectPixels(printer.resolution()).width() / 10;
    PainterCanvas canvas(painter);
    symbol.paintBarcode(&canvas);
    painter.end();
}

void AskAndPrintSymbol(QWidget* parent, datamatrix::TDatamatrix& symbol) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintSymbol(symbol, printer);
}

} // namespace korvex::app
