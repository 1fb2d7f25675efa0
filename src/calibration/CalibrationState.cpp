// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "calibration/CalibrationState.h"

#include "app/SettingsStore.h"

namespace {
const QString section = QStringLiteral("Calibration");
constexpr int unitCount = 3;
}

void CalibrationState::load(const SettingsStore& settings)
{
    // A stored magnification of 0 would divide by zero: it reads as the
    // default instead.
    CalibrationMagnification = unsigned(settings.readInt(section, QStringLiteral("CalibrationMagnification"), 100));
    if (CalibrationMagnification == 0)
        CalibrationMagnification = 100;
    Magnification = unsigned(
        settings.readInt(section, QStringLiteral("Magnification"), int(CalibrationMagnification)));
    if (Magnification == 0)
        Magnification = CalibrationMagnification;
    Units = settings.readInt(section, QStringLiteral("Units"), 0);
    if (Units < 0 || Units >= unitCount)
        Units = 0;
    Scale = settings.readReal(section, QStringLiteral("Scale"), 1.0);
    Distance = settings.readReal(section, QStringLiteral("Distance"), 1.0);
    ScaleVertical = settings.readReal(section, QStringLiteral("ScaleVertical"), 1.0);
    DistanceVertical = settings.readReal(section, QStringLiteral("DistanceVertical"), 1.0);
    computeEffectiveScales();
}

void CalibrationState::computeEffectiveScales()
{
    const double ratio = double(CalibrationMagnification) / double(Magnification);
    effectiveScale = ratio * Scale;
    effectiveScaleVertical = ratio * ScaleVertical;
}
