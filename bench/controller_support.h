#pragma once

// Set-up shared by the benchmarks that run the whole controller on a generated program folder.

#include <cstdio>
#include <memory>

#include <QDir>
#include <QGuiApplication>

#include "bench_support.h"
#include "common/program_folder.h"
#include "core/controller.h"
#include "platform/user_prompts.h"

namespace bench {

// Checks that the command line names one FOLDER, prints the machine and the platform, then
// starts the controller on the program folder in it (as make_bench_folder writes it). Null, with
// a message naming `bench`, on a wrong command line or when the folder gives no tab window.
inline std::unique_ptr<TfrmRunning> StartOnFolder(const char* bench, int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", bench);
        return nullptr;
    }
    PrintMachine();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const ProgramFolder program(
        QDir(QString::fromLocal8Bit(argv[1])).absoluteFilePath(QStringLiteral("Kelvara")));
    auto controller = std::make_unique<TfrmRunning>(program, QStringList(), DefaultUserPrompts());
    controller->Start();
    QCoreApplication::processEvents();
    if (controller->TabWindows().isEmpty()) {
        std::fprintf(stderr, "%s: the folder has no tab\n", bench);
        return nullptr;
    }
    return controller;
}

} // namespace bench
