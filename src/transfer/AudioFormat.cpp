#include "transfer/AudioFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <vector>

namespace kelvora::transfer {
namespace {

std::string Depth(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      return "8-bit ";
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_ALAC_16:
    case SF_FORMAT_DWVW_16:
      return "16-bit ";
    case SF_FORMAT_ALAC_20:
      return "20-bit ";
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_ALAC_24:
    case SF_FORMAT_DWVW_24:
      return "24-bit ";
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_ALAC_32:
      return "32-bit ";
    case SF_FORMAT_FLOAT:
      return "32-bit float ";
    case SF_FORMAT_DOUBLE:
      return "64-bit float ";
    case SF_FORMAT_ULAW:
      return "mu-law ";
    case SF_FORMAT_ALAW:
      return "A-law ";
    case SF_FORMAT_IMA_ADPCM:
    case SF_FORMAT_MS_ADPCM:
      return "ADPCM ";
    default:
      return "";
  }
}

std::string Container(int format) {
  const int major = format & SF_FORMAT_TYPEMASK;
  const int subtype = format & SF_FORMAT_SUBMASK;
  switch (major) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
      return "WAV";
    case SF_FORMAT_AIFF:
      return "AIFF";
    case SF_FORMAT_FLAC:
      return "FLAC";
    case SF_FORMAT_CAF:
      return subtype >= SF_FORMAT_ALAC_16 && subtype <= SF_FORMAT_ALAC_32 ? "ALAC CAF" : "CAF";
    case SF_FORMAT_W64:
      return "W64";
    case SF_FORMAT_RF64:
      return "RF64";
    case SF_FORMAT_MPEG:
      return "MP3";
    case SF_FORMAT_OGG:
      return subtype == SF_FORMAT_OPUS ? "Opus" : "Ogg Vorbis";
    default:
      break;
  }
  SF_FORMAT_INFO info{};
  info.format = major;
  if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 && info.name != nullptr) {
    const std::string name = info.name;
    return name.substr(0, name.find(" ("));
  }
  return "audio";
}

std::string Channels(int channels) {
  if (channels == 1) return "mono";
  if (channels == 2) return "stereo";
  return std::to_string(channels) + " channels";
}

std::vector<std::string> Extensions() {
  std::set<std::string> names{"aif", "aifc", "wave", "opus", "ogg", "mp3"};
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
  for (int i = 0; i < count; ++i) {
    SF_FORMAT_INFO info{};
    info.format = i;
    if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) != 0) continue;
    // Header-less data needs its layout told, which a file name cannot.
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_RAW || info.extension == nullptr) continue;
    names.insert(info.extension);
  }
  return {names.begin(), names.end()};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string FormatName(int sfFormat) {
  const int major = sfFormat & SF_FORMAT_TYPEMASK;
  // Lossy codecs have no word length of their own.
  if (major == SF_FORMAT_MPEG || major == SF_FORMAT_OGG) return Container(sfFormat);
  return Depth(sfFormat & SF_FORMAT_SUBMASK) + Container(sfFormat);
}

std::string FormatLine(int sfFormat, int rate, int channels, int64_t frames) {
  char seconds[32] = "";
  if (rate > 0) std::snprintf(seconds, sizeof seconds, "%.1f s", double(frames) / rate);
  return FormatName(sfFormat) + ", " + std::to_string(rate) + " Hz, " + Channels(channels) + ", " +
         seconds;
}

std::string ReadablePatterns() {
  std::string patterns;
  for (const std::string& extension : Extensions()) {
    patterns += (patterns.empty() ? "*." : " *.") + extension;
  }
  return patterns;
}

bool HasReadableExtension(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos) return false;
  const std::vector<std::string> extensions = Extensions();
  return std::find(extensions.begin(), extensions.end(), Lower(fileName.substr(dot + 1))) !=
         extensions.end();
}

}  // namespace kelvora::transfer
