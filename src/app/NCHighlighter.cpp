#include "app/NCHighlighter.h"

namespace korvex::app {

NCHighlighter::NCHighlighter(const ncgen::TNCFormat& format, QTextDocument* document)
    : QSyntaxHighlighter(document), format_(format) {}

void NCHighlighter::highlightBlock(const QString&) {}

} // namespace korvex::app
