#include "app/TextField.h"

#include "app/CodePage.h"
#include "ncgen/Layer.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace korvex::app {

TextField::TextField(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("EText"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
}

bool TextField::acceptable(const QString& text) {
    QString checked = text;
    checked.remove(QChar::ParagraphSeparator).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    const TCodePageText converted = ToCodePage(checked);
    if (!converted.Ok) emit Refused(converted.Offending);
    return converted.Ok;
}

int TextField::breaksAllowed() const {
    // A selection that holds breaks gives them back when it is replaced.
    const QTextCursor cursor = textCursor();
    const int selected = cursor.hasSelection()
                             ? document()->findBlock(cursor.selectionEnd()).blockNumber() -
                                   document()->findBlock(cursor.selectionStart()).blockNumber()
                             : 0;
    return ncgen::MaxLayerLines - document()->blockCount() + selected;
}

void TextField::keyPressEvent(QKeyEvent* event) {
    const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (newLine && breaksAllowed() <= 0) {
        emit TooManyLines(ncgen::MaxLayerLines);
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !acceptable(text)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextField::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !acceptable(event->commitString())) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool TextField::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void TextField::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText() || !acceptable(source->text())) return;
    QStringList lines = TextLines(source->text());
    const int allowed = qMax(0, breaksAllowed());
    if (lines.size() > allowed + 1) {
        lines.resize(allowed + 1);
        emit TooManyLines(ncgen::MaxLayerLines);
    }
    insertPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace korvex::app
