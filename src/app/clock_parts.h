#pragma once
// Everything the clock window works with, built at once in the order each part needs the
// ones before it, so the window never meets a part that is not there yet.
#include "app/clock_check.h"
#include "app/settings_store.h"
#include "sound/alarm_sound_player.h"
#include "ui/clock_menu.h"
#include "ui/clock_mouse.h"
#include "ui/display_watch.h"
#include "ui/hover_fade.h"
#include "ui/tray_icon.h"
#include "ui/window_modes.h"

namespace app {

struct ClockParts {
    ClockParts(HWND window, HINSTANCE module, ui::ClockMenuCommands& commands,
               SettingsStore::FailureReport reportSaveFailure)
        : store(currentDirectory()), tray(window, module), fade(window),
          modes(window, store.settings()), mouse(window), menu(module, store.settings(), commands),
          soundPlayer(window, module), check(window, module, store, soundPlayer, tray),
          display(window) {
        store.setFailureReport(std::move(reportSaveFailure));
    }

    SettingsStore store;
    ui::TrayIcon tray;
    ui::HoverFade fade;
    ui::WindowModes modes;
    ui::ClockMouse mouse;
    ui::ClockMenu menu;
    sound::AlarmSoundPlayer soundPlayer;
    ClockCheck check;
    ui::DisplayWatch display;
};

} // namespace app
