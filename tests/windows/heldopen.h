#pragma once

// A file held open as another program holds it (a viewer, a virus scanner, an Explorer
// window): open for reading, its deletion not shared, so that it cannot be replaced or moved
// meanwhile. It is let go after a while on a thread of its own, or, for a negative time, only
// when the holder goes.

#include <QDir>
#include <QString>
#include <QThread>

#include <memory>
#include <utility>

#include <qt_windows.h>

class HeldOpen
{
public:
    HeldOpen(const QString& path, int letGoAfterMs)
        : m_handle(CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr)),
          m_opened(m_handle != INVALID_HANDLE_VALUE)
    {
        if (m_opened && letGoAfterMs >= 0) {
            m_letGo.reset(QThread::create([this, letGoAfterMs] {
                Sleep(DWORD(letGoAfterMs));
                letGo();
            }));
            m_letGo->start();
        }
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen()
    {
        if (m_letGo) {
            m_letGo->wait();
        }
        letGo();
    }

    bool opened() const { return m_opened; }

private:
    void letGo()
    {
        if (const HANDLE handle = std::exchange(m_handle, INVALID_HANDLE_VALUE);
            handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }

    HANDLE m_handle;
    const bool m_opened;
    std::unique_ptr<QThread> m_letGo;
};
