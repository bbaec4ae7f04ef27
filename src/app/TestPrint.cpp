#include "app/TestPrint.h"

#include "app/PainterCanvas.h"
#include "datamatrix/TDatamatrix.h"

#include <QPainter>
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

} // namespace korvex::app
