#include "app/CommandLine.h"

namespace korvex::app {

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine result;
    if (arguments.isEmpty()) return result;
    if (arguments.first().startsWith(QLatin1String("/V"))) {
        const QString joined = arguments.join(QLatin1Char(' '));
        const qsizetype d = joined.indexOf(QLatin1String("/D"));
        if (d < 0) {
            result.Kind = TCommandLine::Form::BatchNoOutput;
            return result;
        }
        result.Kind = TCommandLine::Form::Batch;
        result.Template = joined.mid(2, d - 2).trimmed();
        result.Output = joined.mid(d + 3).trimmed();
        result.HasOutput = true;
        return result;
    }
    result.Kind = TCommandLine::Form::Open;
    result.Template = arguments.first();
    result.ClearText = arguments.size() > 1;
    if (arguments.size() > 2) {
        result.Output = arguments.at(2);
        result.HasOutput = true;
    }
    return result;
}

} // namespace korvex::app
