#pragma once

#include <QString>
#include <QStringList>

namespace korvex::app {

// What the arguments of the program ask for.
struct TCommandLine {
    enum class Form {
        None,          // no arguments
        Batch,         // "/V template /D output"
        BatchNoOutput, // "/V ..." without "/D": the program goes on interactively
        Open,          // a template file, maybe an empty text and an output file
    };
    Form Kind = Form::None;
    QString Template;
    QString Output;         // Batch, and Open with three or more arguments
    bool ClearText = false; // Open with two or more arguments
    bool HasOutput = false;
};

// Splits the arguments as the program's command line reads them: "/V" joins all arguments with
// blanks and cuts at the first "/D", dropping the character after it.
TCommandLine ParseCommandLine(const QStringList& arguments);

} // namespace korvex::app
