// The environment every window test runs in, set before the QApplication exists: the
// offscreen platform, temporary HOME and XDG folders (they live for the process), the C
// locale, no APPDATA, and the engine library from the build.
#pragma once

#include <activation/Activation.h>

#include <QTemporaryDir>

#include <cstdlib>

namespace guitest {

inline void PinEnvironment() {
    static QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("HOME", root.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    ::setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", root.constData(), 1);
    ::setenv("LC_ALL", "C", 1);
    ::unsetenv("APPDATA");
    activation::SetFallbackLibrary(CALDREN_VESMORA_PATH);
}

}  // namespace guitest
