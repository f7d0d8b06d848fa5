// marlo-cd: checks a CD drive or disc image, a CD database server and a lyrics server from the
// command line, with the same code the player uses.
#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

#include "CdCommands.h"
#include "LyricsCommand.h"

namespace {

bool asksForHelp(const QString& argument) {
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

int printUsage(const QString& text) {
    QTextStream out(stdout);
    out << text << '\n';
    out.flush();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    struct Command {
        std::function<int(const QStringList&)> run;
        std::function<QString()> usage;
    };
    // Further subcommands join this table.
    const std::map<QString, Command> commands{
        {QStringLiteral("discid"), {marlo::cdtool::discidCommand, marlo::cdtool::discidUsage}},
        {QStringLiteral("parse"), {marlo::cdtool::parseCommand, marlo::cdtool::parseUsage}},
        {QStringLiteral("lookup"), {marlo::cdtool::lookupCommand, marlo::cdtool::lookupUsage}},
        {QStringLiteral("lyrics"), {marlo::runLyricsCommand, marlo::lyricsUsage}},
    };
    QStringList names;
    for (const auto& entry : commands) {
        names << entry.first;
    }
    const QString usage =
        QStringLiteral("usage: marlo-cd ") + names.join(QLatin1Char('|')) + QStringLiteral(" ...");
    if (!arguments.isEmpty() && asksForHelp(arguments.first())) {
        QString text = usage;
        for (const auto& entry : commands) {
            // Without its "usage: ", each line indented under the whole.
            text += QStringLiteral("\n  ") +
                    entry.second.usage().mid(7).replace(QLatin1Char('\n'), QLatin1String("\n  "));
        }
        return printUsage(text);
    }
    const auto command = arguments.isEmpty() ? commands.end() : commands.find(arguments.first());
    if (command == commands.end()) {
        return marlo::cdtool::failWith(usage);
    }
    const QStringList rest = arguments.mid(1);
    if (std::any_of(rest.begin(), rest.end(), asksForHelp)) {
        return printUsage(command->second.usage());
    }
    return command->second.run(rest);
}
