// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/calibration/CalibrationState.h"

#include "core/base/AppMessageSink.h"
#include "core/base/SettingsStore.h"

namespace {
const QString section = QStringLiteral("Calibration");
constexpr int unitCount = 3;
constexpr unsigned defaultMagnification = 100;
}

CalibrationState::CalibrationState(SettingsStore& settings, AppMessageSink& mainWindow)
    : settings(settings)
    , mainWindow(mainWindow)
{
}

void CalibrationState::load()
{
    // A stored magnification of 0 would divide by zero: it reads as the
    // default instead.
    CalibrationMagnification
        = unsigned(settings.readInt(section, QStringLiteral("CalibrationMagnification"), int(defaultMagnification)));
    if (CalibrationMagnification == 0)
        CalibrationMagnification = defaultMagnification;
    Units = settings.readInt(section, QStringLiteral("Units"), 0);
    if (Units < 0 || Units >= unitCount)
        Units = 0;
    Scale = settings.readReal(section, QStringLiteral("Scale"), 1.0);
    Distance = settings.readReal(section, QStringLiteral("Distance"), 1.0);
    ScaleVertical = settings.readReal(section, QStringLiteral("ScaleVertical"), 1.0);
    DistanceVertical = settings.readReal(section, QStringLiteral("DistanceVertical"), 1.0);
    Magnification = unsigned(settings.readInt(section, QStringLiteral("Magnification"), int(CalibrationMagnification)));
    if (Magnification == 0)
        Magnification = CalibrationMagnification;
    calibrated = false;
    RecomputeEffectiveScales();
}

void CalibrationState::RecomputeEffectiveScales()
{
    // The dialogs refuse 0; should one arrive anyway, the picture is taken
    // as seen at the calibration magnification rather than at infinity.
    const unsigned magnification = Magnification != 0 ? Magnification : CalibrationMagnification;
    const double ratio = magnification != 0 ? double(CalibrationMagnification) / double(magnification) : 1.0;
    effectiveScale = ratio * Scale;
    effectiveScaleVertical = ratio * ScaleVertical;
}

void CalibrationState::SetMagnification(unsigned m)
{
    Magnification = m;
    settings.writeInt(section, QStringLiteral("Magnification"), int(m));
    mainWindow.send(WM_APP_SET_MAG, qintptr(m), 0);
}

void CalibrationState::SetScale(double v)
{
    Scale = v;
    settings.writeReal(section, QStringLiteral("Scale"), v);
    SetScaleVertical(v);
}

void CalibrationState::SetScaleVertical(double v)
{
    ScaleVertical = v;
    settings.writeReal(section, QStringLiteral("ScaleVertical"), v);
}

void CalibrationState::SetDistance(double v)
{
    Distance = v;
    settings.writeReal(section, QStringLiteral("Distance"), v);
    SetDistanceVertical(v);
}

void CalibrationState::SetDistanceVertical(double v)
{
    DistanceVertical = v;
    settings.writeReal(section, QStringLiteral("DistanceVertical"), v);
}

void CalibrationState::calibrate(bool vertical, double known, double pixelLength, unsigned magnification, int unitIndex)
{
    // Times the reciprocal, not a division: the stored scale then matches
    // earlier calibrations of the same length to the last digit.
    SetDistanceVertical(known);
    SetScaleVertical(DistanceVertical * (1 / pixelLength));
    if (!vertical) {
        SetCalibrationMagnification(magnification);
        if (unitIndex >= 0)
            SetUnitIndex(unitIndex);
        SetDistance(known);
        SetScale(Distance * (1 / pixelLength));
    }
    calibrated = true;
}

void CalibrationState::SetCalibrationMagnification(unsigned m)
{
    CalibrationMagnification = m;
    settings.writeInt(section, QStringLiteral("CalibrationMagnification"), int(m));
}

void CalibrationState::SetUnitIndex(int u)
{
    Units = u;
    settings.writeInt(section, QStringLiteral("Units"), u);
}
