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

// Prints the machine and the platform, then starts the controller on the program folder in
// `folder` (as make_bench_folder writes it). Null, with a message naming `bench`, when the folder
// gives no tab window.
inline std::unique_ptr<TfrmRunning> StartOnFolder(const char* bench, const char* folder) {
    PrintMachine();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const ProgramFolder program(
        QDir(QString::fromLocal8Bit(folder)).absoluteFilePath(QStringLiteral("Kelvara")));
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
