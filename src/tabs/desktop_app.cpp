#include "tabs/desktop_app.h"

#include <memory>

#include <QDir>
#include <QFileInfo>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unistd.h>

#include "common/own_environment.h"
#include "tabs/desktop_file.h"

namespace {

LaunchContextMaker& Maker() {
    static LaunchContextMaker maker;
    return maker;
}

struct ObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using ObjectPtr = std::unique_ptr<T, ObjectDeleter>;

struct ListDeleter {
    void operator()(GList* list) const { g_list_free_full(list, g_free); }
};

// Runs in the new process between fork and exec, where only async-signal-safe calls are allowed.
// The folder was checked before the launch; should it vanish in between, the program starts in
// Kelvara's own folder rather than not at all.
void EnterFolder(gpointer folder) {
    [[maybe_unused]] const int ignored = chdir(static_cast<const char*>(folder));
}

// The program an Exec line starts, split by GLib's shell-quoting rules as GIO splits it.
QString ExecProgram(const QString& exec) {
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(exec.toUtf8().constData(), nullptr, &argv, nullptr))
        return {};
    const QString program = QString::fromUtf8(argv[0]);
    g_strfreev(argv);
    return program;
}

// Why GIO refused to read the entry: it reads only application entries whose TryExec and Exec
// programs are installed.
UserText UnreadableReason(const QString& path) {
    const std::optional<DesktopFileInfo> entry = ReadDesktopFile(path);
    if (!entry)
        return UserText("Entry.NotEntry", "it is not a desktop entry");
    if (entry->type != QLatin1String("Application"))
        return UserText("Entry.NotApplication", "it is not an application entry");
    for (const QString& program : {entry->tryExec, ExecProgram(entry->exec)}) {
        if (program.isEmpty())
            continue;
        gchar* found = g_find_program_in_path(QFile::encodeName(program).constData());
        g_free(found);
        if (!found)
            return UserText("Entry.ProgramMissing", "its program %1 is not installed").arg(program);
    }
    return UserText("Entry.NotValid", "it is not a valid application entry");
}

QString TakeError(GError* error) {
    const QString message = QString::fromUtf8(error->message);
    g_error_free(error);
    return message;
}

// How many files an Exec line takes: a list (%F, %U), one (%f, %u) or none.
enum class FileCodes { None, One, List };

FileCodes FileCodesOf(const QString& exec) {
    FileCodes codes = FileCodes::None;
    for (qsizetype i = 0; i + 1 < exec.size(); ++i) {
        if (exec.at(i) != u'%')
            continue;
        const QChar code = exec.at(++i); // "%%" is skipped as one
        if (code == u'F' || code == u'U')
            return FileCodes::List;
        if (code == u'f' || code == u'u')
            codes = FileCodes::One;
    }
    return codes;
}

} // namespace

UserText FilesRefusal(const QString& exec, qsizetype files) {
    if (files > kMaxFilesPerStart)
        return UserText("Entry.TooManyFiles",
                        "its arguments name %1 files to open; a shortcut opens at most %2 at once")
            .arg(files)
            .arg(kMaxFilesPerStart);
    switch (FileCodesOf(exec)) {
    case FileCodes::None:
        if (files > 0)
            return UserText("Entry.TakesNoFiles", "the application takes no files, and the arguments name %1")
                .arg(files);
        break;
    case FileCodes::One:
        if (files > 1)
            return UserText("Entry.TakesOneFile",
                            "the application opens one file at a time, and the arguments name %1")
                .arg(files);
        break;
    case FileCodes::List:
        break;
    }
    return {};
}

void SetLaunchContextMaker(LaunchContextMaker maker) {
    Maker() = std::move(maker);
}

UserText LaunchDesktopApp(const QString& path, const QStringList& files, const QString& workingDir) {
    if (!QFileInfo(path).isFile())
        return UserText("Launch.Missing", "%1 does not exist").arg(QDir::toNativeSeparators(path));
    const ObjectPtr<GDesktopAppInfo> app(
        g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData()));
    if (!app)
        return UnreadableReason(path);
    if (g_desktop_app_info_get_is_hidden(app.get()))
        return UserText("Entry.Deleted", "the entry is marked as deleted (Hidden=true)");

    gchar* entryFolder = g_desktop_app_info_get_string(app.get(), "Path");
    const QString startFolder = entryFolder && *entryFolder ? QString::fromUtf8(entryFolder) : workingDir;
    const bool enterFolder = !(entryFolder && *entryFolder);
    g_free(entryFolder);
    if (!QFileInfo(startFolder).isDir())
        return UserText("Launch.NoWorkingFolder", "the working folder %1 does not exist")
            .arg(QDir::toNativeSeparators(startFolder));

    gchar* exec = g_desktop_app_info_get_string(app.get(), "Exec");
    const UserText refusal = FilesRefusal(QString::fromUtf8(exec ? exec : ""), files.size());
    g_free(exec);
    if (!refusal.isEmpty())
        return refusal;

    const QByteArray folder = QFile::encodeName(startFolder);
    std::unique_ptr<GList, ListDeleter> uris;
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        const ObjectPtr<GFile> file(g_file_new_for_commandline_arg_and_cwd(
            QFile::encodeName(files.at(i)).constData(), folder.constData()));
        uris.reset(g_list_prepend(uris.release(), g_file_get_uri(file.get())));
    }

    const ObjectPtr<GAppLaunchContext> context(Maker() ? Maker()() : g_app_launch_context_new());
    for (const QString& name : OwnEnvironmentVariables())
        g_app_launch_context_unsetenv(context.get(), name.toUtf8().constData());
    GError* error = nullptr;
    const bool started = g_desktop_app_info_launch_uris_as_manager(
        app.get(), uris.get(), context.get(), G_SPAWN_SEARCH_PATH, enterFolder ? EnterFolder : nullptr,
        const_cast<char*>(folder.constData()), nullptr, nullptr, &error);
    if (!started)
        return error ? UserText::plain(TakeError(error))
                     : UserText("Launch.NotStarted", "it could not be started");
    return {};
}
