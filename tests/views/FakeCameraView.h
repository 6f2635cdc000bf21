// A view of fixed size and extents for the camera and grid tests, which run without a window; it
// counts the repaints, renders and timers the camera asks for and gives a clock the test sets.
#pragma once
#include <cstdint>
#include <functional>

#include "views/Camera.h"

namespace sarnova {

class TFakeView : public ICameraView {
public:
    int Width = 400;
    int Height = 300;
    TMBox Extents = MakeBox(-10, -10, -10, 10, 10, 10);
    bool Measuring = false;
    TWindowMeasure Found;
    std::uint32_t Now = 1000;
    int Renders = 0;
    int Invalidates = 0;
    std::uint32_t TimerInterval = 0;
    std::function<void()> TimerTick;

    int GetClientWidth() const override { return Width; }
    int GetClientHeight() const override { return Height; }
    TMBox GetExtents() const override { return Extents; }
    bool IsMeasuring() const override { return Measuring; }
    TWindowMeasure MeasureWindow(const TRect& Rect) override {
        Found.Rect = Rect;
        return Found;
    }
    void Render() override { ++Renders; }
    std::uint32_t Milliseconds() override { return Now; }
    void StartTimer(std::uint32_t Interval, std::function<void()> Tick) override {
        TimerInterval = Interval;
        TimerTick = std::move(Tick);
    }
    void StopTimer() override { TimerTick = nullptr; }
    void Invalidate() override { ++Invalidates; }
};

}  // namespace sarnova
