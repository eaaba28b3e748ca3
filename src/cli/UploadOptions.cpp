#include "cli/UploadOptions.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cctype>

#include "batch/KeyNames.h"

namespace kelvora::cli {

namespace {

constexpr int kMostChannels = 256;

// The extensions of the formats libsndfile reads.
const QStringList kAudioNames = {"*.wav",  "*.wave", "*.aif",  "*.aiff", "*.aifc",
                                 "*.flac", "*.ogg",  "*.oga",  "*.opus", "*.mp3",
                                 "*.caf",  "*.w64",  "*.rf64", "*.au",   "*.snd"};

bool Digits(const std::string& text) {
  return !text.empty() && text.size() <= 6 && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// LO-HI where either key may itself hold a dash ("A-1-C3"): the first split into two keys.
bool ParseKeyRange(const std::string& text, int& low, int& high) {
  for (size_t dash = text.find('-', 1); dash != std::string::npos;
       dash = text.find('-', dash + 1)) {
    const std::optional<int> lo = batch::ParseKey(text.substr(0, dash));
    const std::optional<int> hi = batch::ParseKey(text.substr(dash + 1));
    if (lo && hi) {
      low = *lo;
      high = *hi;
      return true;
    }
  }
  return false;
}

bool ParseRange(const std::string& text, UploadOptions& options, std::string& error) {
  options.rangeGiven = !text.empty();
  if (text.empty() || text == "full") return true;
  if (text == "root") options.range = batch::RangeRule::Root;
  if (text == "auto") options.range = batch::RangeRule::Auto;
  if (text == "root" || text == "auto") return true;
  options.range = batch::RangeRule::Custom;
  if (!ParseKeyRange(text, options.low, options.high)) {
    error =
        "--range takes full, root, auto or LO-HI with two keys (C2-C4, 36-60), not '" + text + "'.";
    return false;
  }
  if (options.low > options.high) {
    error = "--range " + text + " has its low key " + batch::KeyLabel(options.low) +
            " above its high key " + batch::KeyLabel(options.high) + ".";
    return false;
  }
  return true;
}

bool ParseChannel(const std::string& text, transfer::ChannelPick& pick, std::string& error) {
  if (text.empty() || text == "mono") return true;
  if (text == "left") pick.mode = transfer::fcLeft;
  if (text == "right") pick.mode = transfer::fcRight;
  if (text == "left" || text == "right") return true;
  if (!Digits(text) || std::stoi(text) < 1 || std::stoi(text) > kMostChannels) {
    error = "--channel takes left, right, mono or a channel number from 1, not '" + text + "'.";
    return false;
  }
  pick = {transfer::fcChannel, std::stoi(text) - 1};
  return true;
}

}  // namespace

bool ParseUploadOptions(const std::string& root, const std::string& range,
                        const std::string& channel, const std::string& rate, UploadOptions& options,
                        std::string& error) {
  options.rootRequired = root == "auto";
  if (!root.empty() && root != "auto") {
    options.rootKey = batch::ParseKey(root);
    if (!options.rootKey) {
      error = "--root takes a key (C4, C#3, 60) or auto, not '" + root + "'.";
      return false;
    }
  }
  if (!ParseRange(range, options, error) || !ParseChannel(channel, options.pick, error)) {
    return false;
  }
  options.unchanged = rate == "unchanged";
  if (rate.empty() || rate == "auto" || rate == "unchanged") return true;
  if (!Digits(rate) || std::stoi(rate) == 0) {
    error = "--rate takes auto, unchanged or a rate in Hz the sampler plays, not '" + rate + "'.";
    return false;
  }
  options.rate = std::stoi(rate);
  return true;
}

bool ExpandUploadFiles(const std::vector<std::string>& arguments, std::vector<std::string>& files,
                       std::string& error) {
  for (const std::string& argument : arguments) {
    const QFileInfo info(QString::fromStdString(argument));
    if (info.isFile()) {
      files.push_back(argument);
      continue;
    }
    if (!info.isDir()) {
      error = "'" + argument + "' is neither a file nor a folder.";
      return false;
    }
    const QStringList found =
        QDir(info.filePath()).entryList(kAudioNames, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (found.isEmpty()) {
      error = "The folder '" + argument + "' holds no audio files.";
      return false;
    }
    for (const QString& name : found) {
      files.push_back(QDir(info.filePath()).filePath(name).toStdString());
    }
  }
  return true;
}

}  // namespace kelvora::cli
