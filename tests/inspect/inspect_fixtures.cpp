#include "inspect_fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <sstream>
#include <stdexcept>

#include <unistd.h>

#include "run.h"

namespace marrowick::inspect::test {

RunResult Inspect(const QStringList& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult run;
    run.status =
        RunInspect(QStringList{QStringLiteral("marrowick-inspect")} + arguments, out, err, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

RunResult InspectProcess(const QStringList& arguments, const QString& workingDirectory) {
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(MARROWICK_INSPECT_PROGRAM), arguments);
    RunResult run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

Bytes ObjectsWithGuids(const std::string& label, const std::vector<std::uint32_t>& guids) {
    marrowick::test::IffBuilder file;
    for (std::size_t i = 0; i < guids.size(); ++i) {
        marrowick::test::ObjectDefinition def;
        def.guid = guids[i];
        def.catalog_id = 0;
        file.Object(static_cast<std::int16_t>(128 + i), label + " " + std::to_string(i), def);
    }
    return file.Build();
}

Folder::Folder() {
    if (!dir_.isValid()) {
        throw std::runtime_error("no temporary folder");
    }
}

std::string Folder::Path(const std::string& relative) const {
    const QString base = dir_.path();
    return (relative.empty() ? base : base + QLatin1Char('/') + QString::fromStdString(relative))
        .toStdString();
}

std::string Folder::Write(const std::string& relative, const Bytes& bytes) const {
    const std::string path = Path(relative);
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
    marrowick::test::WriteFile(path, bytes);
    return path;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace marrowick::inspect::test
