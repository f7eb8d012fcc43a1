// SPDX-License-Identifier: Apache-2.0
#include "cli/Cli.h"

#include "cli/CliArguments.h"
#include "sim/VirtualBus.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

QString CliFailureDocument(const QString& command, int code, const QString& message) {
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"command", command},
                                                       {"ok", false},
                                                       {"exitCode", code},
                                                       {"message", message}})
                                 .toJson());
}

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted) {
    std::vector<std::string> bytes;
    for (const QString& argument : arguments) {
        bytes.push_back(QFile::encodeName(argument).toStdString());
    }
    return RunCli(bytes, out, err, interrupted, [] { return false; });
}

int RunCli(const std::vector<std::string>& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted, const std::function<bool()>& outputClosed,
           const CliProcess& process) {
    // Every outcome under --json is one JSON document, failures before any panel too.
    bool json = std::find(arguments.begin(), arguments.end(), "--json") != arguments.end();
    QString command;
    const auto fail = [&](int code, const QString& message) {
        // On standard error every failure of the tool says whose it is.
        const QString prefix = "quvo8261-cli: ";
        err << (message.startsWith(prefix) ? message : prefix + message) << "\n";
        if (json) {
            out << CliFailureDocument(command, code, message);
        }
        return code;
    };
    try {
        const CliInvocation invocation = ParseCliArguments(arguments);
        json = invocation.json || invocation.panelProcess;
        command = invocation.command;
        CliContext context{invocation, out, err, interrupted, outputClosed, process};
        return RunCliCommand(context);
    } catch (const BadCommandLine& error) {
        return fail(CliUsageError, QString("quvo8261-cli: ") + error.what());
    } catch (const CliFailure& failure) {
        return fail(failure.Code(), QString::fromStdString(failure.what()));
    } catch (const std::exception& error) {
        return fail(CliLinkFailure, QString("quvo8261-cli: ") + error.what());
    }
}

InstalledBackEnd ChooseCliBackEnd(BackEnd choice, int virtualPanels) {
    return UseBackEnd(choice, [virtualPanels] { return UseVirtualPanels(virtualPanels); });
}
