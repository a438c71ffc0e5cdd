// poolbridge-wine-helper: the Win32 modem-pool backend behind a line protocol
// on stdin and stdout, so that the Linux client can reach programs running
// under Wine. One request per line, one answer per line; texts travel as hex
// of their bytes so that no byte of a name or a cell can break the framing.
//
//   pid NAMEHEX            -> ok PID          (-1: none)
//   window PID             -> ok HWND         (0: none)
//   children HWND          -> ok HWND HWND ...
//   class HWND             -> ok HEX
//   path PID               -> ok HEX
//   attach HWND CLASSHEX   -> ok 1|0 BITS
//   count                  -> ok N
//   cell ROW COL [SIZE]    -> ok HEX
//   cells ROWS SIZE COL... -> ok HEX HEX ...  (row by row, '-' for an empty text)
//   slowcells ROWS SIZE COL... -> as cells, one cell at a time (for measuring)
//   countloop N            -> ok N  (N item-count messages: the cross-process floor)
//   local WINPATHHEX       -> ok HEX
//   quit
#include "platform/HexText.h"
#include "platform/win32/Win32ModemPool.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using pb::fromHex;
using pb::toHex;

std::string answer(pb::win32::Win32ModemPool& host, const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    std::ostringstream out;
    out << "ok";
    if (verb == "pid") {
        std::string name;
        in >> name;
        out << ' ' << host.findProcessByName(fromHex(name));
    } else if (verb == "window") {
        long pid = 0;
        in >> pid;
        out << ' ' << host.findVisibleWindowOfProcess(pid);
    } else if (verb == "children") {
        unsigned long long window = 0;
        in >> window;
        for (pb::WindowId child : host.listDescendantWindows(window)) out << ' ' << child;
    } else if (verb == "class") {
        unsigned long long window = 0;
        in >> window;
        out << ' ' << toHex(host.windowClassName(window));
    } else if (verb == "path") {
        long pid = 0;
        in >> pid;
        out << ' ' << toHex(host.executablePathOf(pid));
    } else if (verb == "attach") {
        unsigned long long window = 0;
        std::string cls;
        in >> window >> cls;
        bool ok = host.attach(window, fromHex(cls));
        out << ' ' << (ok ? 1 : 0) << ' ' << (host.targetIs32Bit() ? 32 : 64);
    } else if (verb == "count") {
        out << ' ' << host.itemCount();
    } else if (verb == "cell") {
        int row = 0, column = 0, size = 260;
        in >> row >> column;
        if (!(in >> size)) size = 260;
        out << ' ' << toHex(host.itemText(row, column, size));
    } else if (verb == "cells") {
        int rows = 0, size = 260, column = 0;
        std::vector<int> columns;
        in >> rows >> size;
        while (in >> column) columns.push_back(column);
        for (const std::string& text : host.readCells(rows, columns, size))
            out << ' ' << (text.empty() ? "-" : toHex(text));
    } else if (verb == "slowcells") {
        int rows = 0, size = 260, column = 0;
        std::vector<int> columns;
        in >> rows >> size;
        while (in >> column) columns.push_back(column);
        for (int r = 0; r < rows; ++r)
            for (int c : columns) {
                std::string text = host.itemText(r, c, size);
                out << ' ' << (text.empty() ? "-" : toHex(text));
            }
    } else if (verb == "countloop") {
        int n = 0;
        in >> n;
        for (int i = 0; i < n; ++i) host.itemCount();
        out << ' ' << n;
    } else if (verb == "local") {
        std::string path;
        in >> path;
        out << ' ' << toHex(host.localPathOf(fromHex(path)));
    } else {
        return "err unknown request";
    }
    return out.str();
}

} // namespace

int main() {
    std::ios::sync_with_stdio(false);
    pb::win32::Win32ModemPool host;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "quit") break;
        std::string reply;
        try {
            reply = answer(host, line);
        } catch (...) {
            reply = "err bad request";
        }
        std::cout << reply << '\n' << std::flush;
    }
    return 0;
}
