#include "transfer_harness.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/MidiSystem.h"
#include "sim/SimulatedSampler.h"
#include "transfer/DownloadEngine.h"
#include "transfer/RiffFile.h"
#include "transfer/UploadEngine.h"
#include "transfer/WavWriter.h"

namespace kelvora::bench {
namespace {

// A frame on the socket: kind ('L' SysEx, 'S' packed short message), 4-byte length, payload.
constexpr char kLong = 'L';
constexpr char kShort = 'S';

bool WriteAll(int fd, const void* data, size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    // A sampler process that has gone away must not take the program down with SIGPIPE.
    const ssize_t n = ::send(fd, at, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size) {
  char* at = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::read(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool WriteFrame(int fd, char kind, const void* data, uint32_t size) {
  char head[5];
  head[0] = kind;
  std::memcpy(head + 1, &size, 4);
  return WriteAll(fd, head, sizeof head) && WriteAll(fd, data, size);
}

bool ReadFrame(int fd, char& kind, std::vector<uint8_t>& payload) {
  char head[5];
  if (!ReadAll(fd, head, sizeof head)) return false;
  kind = head[0];
  uint32_t size = 0;
  std::memcpy(&size, head + 1, 4);
  payload.resize(size);
  return ReadAll(fd, payload.data(), size);
}

// The child's whole life: a sampler that answers what arrives on the socket until it closes.
[[noreturn]] void RunSampler(int fd, const sim::SimOptions& options) {
  {
    sim::SimulatedSampler sampler(options, [fd](const uint8_t* data, size_t size) {
      WriteFrame(fd, kLong, data, static_cast<uint32_t>(size));
    });
    sampler.Start();
    char kind = 0;
    std::vector<uint8_t> payload;
    while (ReadFrame(fd, kind, payload)) {
      if (kind == kLong) sampler.Receive(payload.data(), payload.size());
      uint32_t packed = 0;
      if (kind == kShort && payload.size() == 4) {
        std::memcpy(&packed, payload.data(), 4);
        sampler.ReceiveShort(packed);
      }
    }
    sampler.Stop();
  }
  ::_exit(0);
}

size_t ShortLength(uint32_t packed) {
  const uint32_t kind = packed & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
}

}  // namespace

SamplerProcess::SamplerProcess(const sim::SimOptions& options) {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) throw std::runtime_error("socketpair");
  child_ = ::fork();
  if (child_ < 0) throw std::runtime_error("fork");
  if (child_ == 0) {
    ::close(pair[0]);
    RunSampler(pair[1], options);
  }
  ::close(pair[1]);
  socket_ = pair[0];
}

SamplerProcess::~SamplerProcess() {
  Close();
  if (child_ > 0) ::waitpid(child_, nullptr, 0);
}

void SamplerProcess::Close() {
  if (socket_ >= 0) ::shutdown(socket_, SHUT_RDWR);
}

SocketMidiDriver::SocketMidiDriver(SamplerProcess& sampler) : sampler_(sampler) {
  reader_ = std::thread(&SocketMidiDriver::ReadAnswers, this);
}

SocketMidiDriver::~SocketMidiDriver() {
  sampler_.Close();
  if (reader_.joinable()) reader_.join();
}

int SocketMidiDriver::OpenOutput(int device, int slot) {
  if (device != 0) return midi::kErrorBadDevice;
  midi::DoreRav::MidiOutHandler(slot, midi::OutEvent::Opened);
  return 0;
}

void SocketMidiDriver::CloseOutput(int slot) {
  midi::DoreRav::MidiOutHandler(slot, midi::OutEvent::Closed);
}

void SocketMidiDriver::ResetCounts() {
  toSampler_ = 0;
  fromSampler_ = 0;
}

void SocketMidiDriver::SendLong(int slot, const uint8_t* data, size_t length) {
  toSampler_ += length;
  WriteFrame(sampler_.Socket(), kLong, data, static_cast<uint32_t>(length));
  midi::DoreRav::MidiOutHandler(slot, midi::OutEvent::Done);
}

int SocketMidiDriver::SendShort(int, uint32_t packed) {
  toSampler_ += ShortLength(packed);
  return WriteFrame(sampler_.Socket(), kShort, &packed, sizeof packed) ? 0 : midi::kErrorBadDevice;
}

int SocketMidiDriver::OpenInput(int device, int slot) {
  if (device != 0) return midi::kErrorBadDevice;
  inSlot_ = slot;
  midi::DoreRav::MidiInHandler(slot, midi::InEvent::Opened);
  return 0;
}

void SocketMidiDriver::CloseInput(int slot) {
  started_ = false;
  inSlot_ = -1;
  midi::DoreRav::MidiInHandler(slot, midi::InEvent::Closed);
}

// The host asks for one answer at a time, so an answer always fits the port's ring. Input that
// comes while the port is not listening is dropped, as a driver would.
void SocketMidiDriver::ReadAnswers() {
  char kind = 0;
  std::vector<uint8_t> payload;
  while (ReadFrame(sampler_.Socket(), kind, payload)) {
    fromSampler_ += payload.size();
    const int slot = inSlot_.load();
    if (started_ && slot >= 0) {
      midi::DoreRav::MidiInHandler(slot, midi::InEvent::LongData, payload.data(), payload.size());
    }
  }
}

void WriteSignalFile(const std::string& path, int64_t samples) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || !transfer::WriteWavHeader(file, 44100, static_cast<uint32_t>(samples))) {
    throw std::runtime_error("cannot write " + path);
  }
  std::vector<uint8_t> piece;
  uint32_t state = 12345;
  for (int64_t done = 0; done < samples;) {
    piece.clear();
    for (int i = 0; i < 65536 && done < samples; ++i, ++done) {
      state = state * 1664525u + 1013904223u;
      piece.push_back(static_cast<uint8_t>(state >> 16));
      piece.push_back(static_cast<uint8_t>(state >> 24));
    }
    std::fwrite(piece.data(), 1, piece.size(), file);
  }
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

namespace {

// The data chunk's size, from the 44-byte header both files have; -1 when unreadable.
long DataBytes(std::FILE* file) {
  uint8_t size[4] = {};
  if (std::fseek(file, transfer::kWavHeaderBytes - 4, SEEK_SET) != 0 ||
      std::fread(size, 1, 4, file) != 4) {
    return -1;
  }
  return static_cast<long>(size[0] | size[1] << 8 | size[2] << 16 | uint32_t{size[3]} << 24);
}

}  // namespace

// The samples only: a downloaded file carries chunks after them that the source has not.
bool SameSamples(const std::string& a, const std::string& b) {
  std::FILE* fa = std::fopen(a.c_str(), "rb");
  std::FILE* fb = std::fopen(b.c_str(), "rb");
  long left = fa && fb ? DataBytes(fa) : -1;
  bool same = left >= 0 && left == DataBytes(fb);
  std::vector<char> pa(65536), pb(65536);
  while (same && left > 0) {
    const size_t want = std::min(pa.size(), static_cast<size_t>(left));
    same = std::fread(pa.data(), 1, want, fa) == want &&
           std::fread(pb.data(), 1, want, fb) == want &&
           std::memcmp(pa.data(), pb.data(), want) == 0;
    left -= static_cast<long>(want);
  }
  if (fa) std::fclose(fa);
  if (fb) std::fclose(fb);
  return same;
}

Timed TimedUpload(protocol::TEps& eps, const std::string& path,
                  const transfer::UploadChoices& choices, const std::function<void()>& atStart) {
  QuietProgress progress;
  transfer::UploadEngine engine(eps, progress);
  if (!engine.Begin()) return {{transfer::TransferOutcome::Failed, "no sampler", 0}, 0};
  eps.ReadConfig();
  transfer::TRiffFile file;
  file.SetFileName(path);
  file.ReadHeader();
  atStart();
  const double start = NowSeconds();
  Timed timed;
  timed.result = engine.Upload(choices, file);
  timed.seconds = NowSeconds() - start;
  return timed;
}

Timed TimedDownload(protocol::TEps& eps, const std::string& path,
                    const std::function<void()>& atStart) {
  QuietProgress progress;
  transfer::DownloadEngine engine(eps, progress);
  if (!engine.Begin() || eps.OpenWs(false) != 1) {
    return {{transfer::TransferOutcome::Failed, "no wavesample", 0}, 0};
  }
  atStart();
  const double start = NowSeconds();
  Timed timed;
  timed.result = engine.Download(path);
  timed.seconds = NowSeconds() - start;
  return timed;
}

double NowSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long PeakResidentKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("kelvora-bench-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

}  // namespace kelvora::bench
