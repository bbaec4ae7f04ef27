#pragma once

#include <QPlainTextEdit>

#include <memory>
#include <string>
#include <vector>

namespace korvex::ncgen {
struct TNCFormat;
}

namespace korvex::app {

class NCHighlighter;

// The NC program: what the save command, the batch run and the hand-off write.
class NCEditor : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit NCEditor(QWidget* parent = nullptr);
    ~NCEditor() override;

    // The editor's lines as Windows-1252 bytes; false names a character without a code.
    bool Lines(std::vector<std::string>& lines, QString* offending = nullptr) const;
    // The program file format: lines joined by CR LF, none after the last.
    bool FileBytes(std::string& bytes, QString* offending = nullptr) const;

    // A generated program with a highlighter built from the number format it was written with.
    void ShowProgram(const std::vector<std::string>& lines, const ncgen::TNCFormat& format);
    void Clear();

  signals:
    void ContextHelpWanted();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void colourShownLines();

    std::unique_ptr<NCHighlighter> highlighter_;
    // Stored in each line's user state once its layout carries this program's colours.
    int generation_ = 0;
};

// Courier New at 16 pixels, or its metric twin where it is not installed.
QFont EditorFont();

} // namespace korvex::app
