// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

class AppMessageSink;
class SettingsStore;

// Turns pixels into units: scales measured at a calibration magnification,
// the magnification the image is viewed at, and the unit index. Mirrored
// value by value in the "Calibration" settings; every setter writes through.
class CalibrationState {
public:
    CalibrationState(SettingsStore& settings, AppMessageSink& mainWindow);

    // Reads the stored calibration and computes the effective scales.
    void load();
    // effective = scale x CalibrationMagnification / Magnification.
    void RecomputeEffectiveScales();

    // Stores the magnification and shows it on the status bar.
    void SetMagnification(unsigned m);
    // A horizontal calibration sets both axes (square pixels).
    void SetScale(double v);
    void SetScaleVertical(double v);
    void SetDistance(double v);
    void SetDistanceVertical(double v);
    void SetCalibrationMagnification(unsigned m);
    void SetUnitIndex(int u);
    // The Calibrate dialog's OK: `known` units span `pixelLength` pixels.
    // A vertical calibration sets only the vertical distance and scale; a
    // horizontal one also the distance, scale, calibration magnification
    // and, when `unitIndex` is not negative, the unit.
    void calibrate(bool vertical, double known, double pixelLength, unsigned magnification, int unitIndex);

    double effectiveScale = 1.0;
    double effectiveScaleVertical = 1.0;
    // Confirmed in this run; never stored.
    bool calibrated = false;
    unsigned Magnification = 100;
    int Units = 0;
    unsigned CalibrationMagnification = 100;
    double Scale = 1.0;
    double Distance = 1.0;
    double ScaleVertical = 1.0;
    double DistanceVertical = 1.0;

private:
    SettingsStore& settings;
    AppMessageSink& mainWindow;
};
