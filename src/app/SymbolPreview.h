#pragma once

#include "content/SymbolContent.h"
#include "datamatrix/TDatamatrix.h"
#include "ncgen/HrtLine.h"
#include "ncgen/LayerTable.h"
#include "ncgen/SymbolChoice.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>

class QLabel;
class QFrame;

namespace korvex::app {

class Messages;

// The "Datamatrix" view: the symbol of the text, redrawn 300 ms after the last change, its
// caption, and the module matrix the generator marks.
class SymbolPreview : public QWidget {
    Q_OBJECT
  public:
    explicit SymbolPreview(QWidget* parent = nullptr);

    // What the caption says of a text that ends with a line break, in the user's language.
    void SetLineBreakNote(const QString& note) { lineBreakNote_ = note; }
    // The errors the refresh throws speak the user's language.
    void SetMessages(const Messages& messages) { messages_ = &messages; }
    // The caption of the symbol shown: its size, encodation and line-break note.
    void DrawCaption();
    // The text as its content kind at the last refresh: the refusal when it was refused.
    const content::TSymbolContent& Content() const { return content_; }

    // The size and encodation of the job's current layer, to draw: the encoder takes them, the
    // caption names them. The job keeps them; nothing reads them back from here.
    void SetDatamatrix(std::uint8_t size, std::uint8_t encodation, bool dmre = false);
    void SetDatamatrix(const ncgen::TSymbolChoice& symbol) {
        SetDatamatrix(symbol.Size, symbol.Encodation, symbol.Dmre);
    }
    // The layer's human-readable line and dot spacing: the line is drawn in dots beside the
    // symbol at the next refresh.
    void SetDotLine(const ncgen::TLayerFields& layer);
    void ResetDMGrafik();
    void ClearDMGrafik();
    void DrawDMGrafik();

    // The text to encode (Windows-1252, lines joined with CR LF) and what it stands for changed:
    // restarts the 300 ms timer, the refresh follows the last change.
    void ETextChange(std::string code, content::TContentKind kind);
    bool RefreshPending() const { return timer_.isActive(); }
    // The refresh itself; throws the encoder's range error after drawing the previous symbol.
    void DMTimerTimer();

    // The matrix of the text as it was at the last refresh; false when that refresh failed or
    // the text was empty, so nothing may be marked from it.
    bool SymbolCurrent() const { return symbolCurrent_; }
    const datamatrix::TIArray& Matrix() const { return matrix_; }
    int MatrixCols() const { return cols_; }
    int MatrixRows() const { return rows_; }
    datamatrix::TDatamatrix& Encoder() { return datamatrix_; }
    QImage Picture() const { return picture_; }

  signals:
    void TextEmptied();
    void Refreshed();

  private:
    void show(const QImage& picture, int natural);
    QString listCaption() const;

    datamatrix::TDatamatrix datamatrix_;
    std::string code_;
    QString lineBreakNote_;
    const Messages* messages_ = nullptr;
    // The placeholder is on screen: no caption of a symbol belongs to it.
    bool placeholderShown_ = false;
    content::TContentKind kind_ = content::TContentKind::Text;
    ncgen::THrtLine hrt_;
    long double spacing_ = 0;
    content::TSymbolContent content_;
    QLabel* humanReadable_ = nullptr; // the GS1 elements or the UII under the symbol
    QTimer timer_;
    QFrame* panel_ = nullptr;
    QLabel* image_ = nullptr;
    QLabel* caption_ = nullptr;
    QImage picture_;
    datamatrix::TIArray matrix_;
    int cols_ = 0;
    int rows_ = 0;
    bool symbolCurrent_ = false;
    std::uint8_t size_ = 0;
    std::uint8_t encodation_ = 0;
};

} // namespace korvex::app
