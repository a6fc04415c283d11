// Starts the desktop program as its host does, through the libdravin.so beside this
// program, on the offscreen platform, and says what it shows: "MESSAGE <text>" for each
// message box and "WINDOW <caption>" for the main window, closing each; "RETURNED" once
// the call has returned.

#include <dlfcn.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace {

using Compute = std::uint8_t (*)(std::int32_t, std::int32_t, std::uint32_t, const char*,
                                 const char*, const char*, const unsigned char*, std::uint8_t);

void say(const char* tag, QString text) {
    text.replace('\n', ' ');
    std::printf("%s %s\n", tag, text.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("dravin");
    const auto library =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libdravin.so";
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NODELETE);
    const auto compute =
        handle ? reinterpret_cast<Compute>(dlsym(handle, "DravinCompute")) : nullptr;
    if (!compute) {
        say("FAILED", dlerror());
        return 1;
    }
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) {
                continue;
            }
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                say("MESSAGE", box->text());
                box->close();
            } else if (w->inherits("dravin::TDravinMain")) {
                say("WINDOW", w->windowTitle());
                w->close();
            }
        }
    });
    watch.start(20);
    QTimer::singleShot(60000, [] {
        say("TIMEOUT", "the program did not end");
        std::_Exit(3);
    });
    const unsigned char font[] = {11, 'C', 'o', 'u', 'r', 'i', 'e', 'r', ' ', 'N', 'e', 'w'};
    compute(51873, 27406, 0, "", "", "", font, 0);
    say("RETURNED", QString());
    return 0;
}
