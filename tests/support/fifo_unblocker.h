#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

// A test of code that must never open a FIFO would hang, not fail, when the code does: after a
// generous time this opens each FIFO for writing and closes it again, which ends a reader's wait
// with an empty file, and records that it had to. Destroying it ends the watch.
class FifoUnblocker {
public:
    explicit FifoUnblocker(QStringList fifos, std::chrono::seconds after = std::chrono::seconds(30))
        : m_thread([this, fifos = std::move(fifos), after] {
              std::unique_lock lock(m_lock);
              if (m_done.wait_for(lock, after, [this] { return m_stop; }))
                  return;
              // The watch went on: someone waits on a FIFO (or the machine is very slow).
              for (int round = 0; round < 100 && !m_stop; ++round) {
                  for (const QString& fifo : fifos) {
                      const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                      if (fd >= 0) {
                          m_unblocked = true;
                          ::close(fd);
                      }
                  }
                  m_done.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_stop; });
              }
          }) {}

    ~FifoUnblocker() {
        {
            std::lock_guard lock(m_lock);
            m_stop = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

    // Whether a reader was found waiting on one of the FIFOs.
    bool unblocked() const {
        std::lock_guard lock(m_lock);
        return m_unblocked;
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_done;
    bool m_stop = false;
    bool m_unblocked = false;
    std::thread m_thread;
};
