// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

class SettingsStore;

// Turns pixels into units: scales measured at a calibration magnification,
// the magnification the image is viewed at, and the unit index. Mirrored in
// the "Calibration" section of the settings.
class CalibrationState {
public:
    double effectiveScale = 1.0;
    double effectiveScaleVertical = 1.0;
    bool calibrated = false;
    unsigned Magnification = 100;
    int Units = 0;
    unsigned CalibrationMagnification = 100;
    double Scale = 1.0;
    double Distance = 1.0;
    double ScaleVertical = 1.0;
    double DistanceVertical = 1.0;

    // Reads the stored calibration and computes the effective scales.
    void load(const SettingsStore& settings);
    // effective = scale x CalibrationMagnification / Magnification.
    void computeEffectiveScales();
};
