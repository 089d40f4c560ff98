#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <QByteArray>
#include <QFile>
#include <QString>

// Fault tests that need a full disk or a read-only folder make them real with mounts: a small
// tmpfs, or a folder bound onto itself read-only (which stops even root). The test program moves
// into a mount namespace of its own while it is still single-threaded (before main), so its
// mounts are private to it and vanish when it ends, however it ends.
namespace private_mounts {

inline bool Enter() {
    return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Whether this process can mount (needs the right to make a mount namespace: root, or a user
// namespace).
inline const bool Available = Enter();

} // namespace private_mounts

// A mount over an existing folder, taken off again when the object goes.
class ScopedMount {
public:
    // An empty tmpfs of the given size over folder.
    static ScopedMount Tmpfs(const QString& folder, int bytes) {
        ScopedMount m(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m.m_mounted = mount("tmpfs", m.m_path.constData(), "tmpfs", 0, options.constData()) == 0;
        return m;
    }
    // folder itself, read-only from now on.
    static ScopedMount ReadOnly(const QString& folder) {
        ScopedMount m(folder);
        const char* path = m.m_path.constData();
        m.m_mounted = mount(path, path, nullptr, MS_BIND, nullptr) == 0;
        if (m.m_mounted && mount(nullptr, path, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            m.unmount();
        return m;
    }

    ScopedMount(ScopedMount&& other) noexcept : m_path(other.m_path), m_mounted(other.m_mounted) {
        other.m_mounted = false;
    }
    ScopedMount& operator=(ScopedMount&&) = delete;
    ~ScopedMount() { unmount(); }

    bool mounted() const { return m_mounted; }
    void unmount() {
        if (m_mounted)
            umount2(m_path.constData(), MNT_DETACH);
        m_mounted = false;
    }

private:
    explicit ScopedMount(const QString& folder) : m_path(QFile::encodeName(folder)) {}

    QByteArray m_path;
    bool m_mounted = false;
};

// Skips the test when this process cannot mount.
#define REQUIRE_PRIVATE_MOUNTS()                                                                             \
    if (!private_mounts::Available)                                                                          \
    GTEST_SKIP() << "needs the right to mount (root or a user namespace)"
