// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

class AppMessageSink;
class CTool;
class SettingsStore;

// Makes the tool of a kind (a tool command's id).
class ToolFactory {
public:
    // Null for a number that is no tool kind.
    static std::unique_ptr<CTool> create(int kind, const SettingsStore& settings, AppMessageSink& mainWindow);
    // A tool of the same kind with the same points, label, style and options.
    static std::unique_ptr<CTool> copy(const CTool& tool);
};
