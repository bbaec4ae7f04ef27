#pragma once

#include "ncgen/NCFormat.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace korvex::app {

// Colours the NC program with the core's token scanner, using the comment characters of the
// number format the program was written with.
class NCHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    NCHighlighter(const ncgen::TNCFormat& format, QTextDocument* document);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    ncgen::TNCFormat format_;
};

} // namespace korvex::app
