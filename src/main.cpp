// poolbridge: the card merchant's client. Everything lives in the libraries;
// this file only reads the command line and starts the window flow.
#include "app/Credentials.h"
#include "app/Deployment.h"
#include "ui/AppShell.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
void printHelp() {
    std::printf(
        "usage: poolbridge [--server URL]\n"
        "\n"
        "  --server URL  the platform's address (route list, version check, first base URL).\n"
        "                Without it POOLBRIDGE_SERVER is used, else the built-in default\n"
        "                %s\n"
        "  --help        this text\n"
        "\n"
        "The remembered login is kept in %s\n"
        "(folder: $POOLBRIDGE_CONFIG_DIR, else $XDG_CONFIG_HOME/PoolBridge or ~/.config/PoolBridge).\n",
        pb::defaultServerAddress().c_str(), pb::settingsFilePath().c_str());
}
} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            printHelp();
            return 0;
        }
        if (!std::strcmp(argv[i], "--server") && i + 1 < argc) {
            pb::setDefaultServerAddress(argv[++i]);
        } else if (!std::strncmp(argv[i], "--server=", 9)) {
            pb::setDefaultServerAddress(argv[i] + 9);
        } else {
            std::fprintf(stderr, "poolbridge: unknown argument %s (see --help)\n", argv[i]);
            return 2;
        }
    }
    QApplication app(argc, argv);
    pb::ui::AppShell shell;
    // Started from the event loop, so that an exit during the login window's
    // creation (no route list, an update) ends the loop it belongs to.
    QTimer::singleShot(0, &shell, &pb::ui::AppShell::startUp);
    return app.exec();
}
