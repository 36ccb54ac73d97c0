#pragma once

// Shows the hourglass for as long as it lives, so the default pointer comes back also when the
// work ends in an error.
class HourGlass
{
public:
    HourGlass();
    ~HourGlass();
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};
