#include "app/NCEditor.h"

#include "app/CodePage.h"
#include "app/NCHighlighter.h"
#include "base/TextLines.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace korvex::app {

QFont EditorFont() {
    QFont font;
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"Courier New", "Liberation Mono", "DejaVu Sans Mono"}) {
        if (families.contains(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(16);
    return font;
}

NCEditor::NCEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("NCEditor"));
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(EditorFont());
    auto add = [this](const char* name, const QString& text, auto slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("Cut2", QStringLiteral("&Ausschneiden"), &QPlainTextEdit::cut);
    add("Copy2", QStringLiteral("&Kopieren"), &QPlainTextEdit::copy);
    add("Paste2", QStringLiteral("&Einfügen"), &QPlainTextEdit::paste);
    // An edited line, and every line an undo or redo brings back, is coloured again when shown.
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        const QTextBlock last = document()->findBlock(position + added);
        for (QTextBlock block = document()->findBlock(position); block.isValid();
             block = block.next()) {
            block.setUserState(-1);
            if (block == last) break;
        }
    });
}

NCEditor::~NCEditor() = default;

void NCEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (const char* name : {"Cut2", "Copy2", "Paste2"})
        menu.addAction(findChild<QAction*>(QString::fromLatin1(name)));
    menu.exec(event->globalPos());
}

void NCEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::ControlModifier) {
        emit ContextHelpWanted();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool NCEditor::Lines(std::vector<std::string>& lines, QString* offending) const {
    // toRawText keeps a no-break space (0xA0) that toPlainText would turn into a blank.
    const QStringList text = TextLines(document()->toRawText());
    QString bad;
    lines = ToCodePageLines(text, &bad);
    if (!bad.isEmpty()) {
        if (offending) *offending = bad;
        return false;
    }
    return true;
}

bool NCEditor::FileBytes(std::string& bytes, QString* offending) const {
    std::vector<std::string> lines;
    if (!Lines(lines, offending)) return false;
    bytes = base::JoinLines(lines);
    return true;
}

void NCEditor::ShowProgram(const std::vector<std::string>& lines, const ncgen::TNCFormat& format) {
    // Each program gets a scanner built from its own format.
    highlighter_ = std::make_unique<NCHighlighter>(format);
    ++generation_;
    setPlainText(FromCodePageLines(lines));
}

void NCEditor::paintEvent(QPaintEvent* event) {
    colourShownLines();
    QPlainTextEdit::paintEvent(event);
}

// A program of tens of thousands of lines shows a few dozen: only those get their colours,
// just before they are painted, and keep them until they are edited or the program changes.
// The runs live on the line layouts, never in the text, so undo and saving do not see them.
void NCEditor::colourShownLines() {
    if (!highlighter_) return;
    const QPointF offset = contentOffset();
    const qreal bottom = viewport()->height();
    int from = -1;
    int to = -1;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(offset).top() > bottom) break;
        if (block.userState() == generation_) continue;
        block.layout()->setFormats(highlighter_->Runs(block.text()));
        block.setUserState(generation_);
        if (from < 0) from = block.position();
        to = block.position() + block.length();
    }
    // The layouts lay their lines out again with the new runs before they are drawn.
    if (from >= 0) document()->markContentsDirty(from, to - from);
}

void NCEditor::Clear() {
    clear();
}

} // namespace korvex::app
