#pragma once

#include <vector>

// The rates the sampler plays exactly, and which of them an upload aims at.
namespace kelvora::transfer {

// Word 131's high byte: code 0 plays 48000 Hz, code 1 44100 Hz, any other n plays one sample
// every n x 1.6 us, 625000 / n Hz. Codes 2..13 would play faster than 48000 Hz, which no model
// of the family records at, so an upload never aims at them.
constexpr int kCode48000 = 0;
constexpr int kCode44100 = 1;
constexpr int kFastestTargetPeriod = 14;  // 44642.9 Hz
constexpr int kSlowestPeriod = 255;       // 2451.0 Hz

// The rate code n plays at, in Hz (not rounded); 0 for a code outside 0..255.
double PlayedRate(int code);
// True for the codes an upload may aim at: 0, 1 and 14..255.
bool IsTargetCode(int code);
// The code of a file rate the sampler plays exactly (44100, 48000, 31250 = 625000 / 20, ...),
// or -1. Rates above 48000 Hz are never targets, so they give -1.
int ExactCode(int fileRate);
// The target a file at fileRate Hz (above 0) gets unless the user picks another: its own rate
// when the sampler plays it exactly, otherwise the slowest playable rate at or above it, so no
// content is lost. Above 48000 Hz, files of the 44.1 kHz family go to 44100 Hz, others to
// 48000 Hz.
int DefaultTargetCode(int fileRate);
// What a user may choose for a file at fileRate Hz: the default first, then every slower
// target, fastest first.
std::vector<int> TargetCodes(int fileRate);
// The code the specified rounding gives (625000 / rate, integer division; 44100 and 48000 their
// own codes): what "send samples unchanged" keeps, off pitch unless the rate is exact.
int UnchangedCode(int fileRate);
// How far a sound recorded at fileRate Hz is shifted when the sampler plays it at played Hz,
// in cents (positive: sharp).
double CentsOff(double played, double fileRate);

}  // namespace kelvora::transfer
