// SPDX-License-Identifier: MIT
#include "app/Screen.h"

#include <mutex>

#include "ui/Desktop.h"

namespace kestrix {
namespace {

std::mutex g_sourceMutex;
std::function<DUI::Rect()> g_source;

}  // namespace

void SetWorkAreaSource(std::function<DUI::Rect()> source) {
    std::lock_guard lock(g_sourceMutex);
    g_source = std::move(source);
}

DUI::Rect WorkArea() {
    {
        std::lock_guard lock(g_sourceMutex);
        if (g_source) return g_source();
    }
    return DUI::GetWorkArea();
}

}  // namespace kestrix
