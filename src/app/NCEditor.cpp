#include "app/NCEditor.h"

#include "app/CodePage.h"
#include "app/NCHighlighter.h"
#include "base/TextLines.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QTextDocument>

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
}

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
    // Each program gets a scanner built from its own format. The highlighter object stays: a
    // new one would first wipe the old program's colours and then colour the new one again.
    if (highlighter_)
        highlighter_->SetFormat(format);
    else
        highlighter_ = new NCHighlighter(format, document());
    setPlainText(FromCodePageLines(lines));
}

void NCEditor::Clear() {
    clear();
}

} // namespace korvex::app
