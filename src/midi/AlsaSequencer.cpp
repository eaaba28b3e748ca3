#include "midi/AlsaSequencer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace kelvora::midi {

namespace {

void DropLibraryMessage(const char*, int, const char*, int, const char*, ...) {}

// alsa-lib reports failures as negative errno values; a failure is never 0 here.
int ErrorCode(int result) { return result >= 0 ? 0 : -result; }

}  // namespace

AlsaSequencer::~AlsaSequencer() { Close(); }

void AlsaSequencer::SilenceLibraryErrors() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&DropLibraryMessage); });
}

int AlsaSequencer::Open(const std::string& clientName) {
  if (seq_) return EBUSY;
  SilenceLibraryErrors();
  snd_seq_t* seq = nullptr;
  const int opened = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
  if (opened < 0 || !seq) return opened < 0 ? ErrorCode(opened) : ENODEV;
  seq_ = seq;
  snd_seq_set_client_name(seq_, clientName.c_str());
  // Raising the buffers is best effort: the defaults still work, only with less slack.
  snd_seq_set_output_buffer_size(seq_, kOutputBuffer);
  snd_seq_set_input_buffer_size(seq_, kInputBuffer);
  snd_seq_set_client_pool_input(seq_, kInputPool);
  return 0;
}

int AlsaSequencer::CreatePort(const std::string& name, unsigned caps) {
  if (!seq_) return EBADF;
  if (port_ >= 0) return EBUSY;
  const int port = snd_seq_create_simple_port(
      seq_, name.c_str(), caps, SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (port < 0) return ErrorCode(port);
  port_ = port;
  return 0;
}

void AlsaSequencer::Close() {
  StopInput();
  if (!seq_) return;
  if (dest_.Valid()) snd_seq_disconnect_to(seq_, port_, dest_.client, dest_.port);
  if (source_.Valid()) snd_seq_disconnect_from(seq_, port_, source_.client, source_.port);
  snd_seq_close(seq_);
  seq_ = nullptr;
  port_ = -1;
  dest_ = source_ = AlsaAddress{};
}

int AlsaSequencer::ClientId() const { return seq_ ? snd_seq_client_id(seq_) : -1; }

AlsaAddress AlsaSequencer::Address() const { return {ClientId(), seq_ ? port_ : -1}; }

int AlsaSequencer::ConnectTo(AlsaAddress dest) {
  if (!seq_ || port_ < 0) return EBADF;
  const int result = snd_seq_connect_to(seq_, port_, dest.client, dest.port);
  if (result < 0) return ErrorCode(result);
  std::lock_guard lock(outputMutex_);
  dest_ = dest;
  return 0;
}

int AlsaSequencer::ConnectFrom(AlsaAddress source) {
  if (!seq_ || port_ < 0) return EBADF;
  if (input_.joinable()) return EBUSY;  // the input thread reads source_ unguarded
  const int result = snd_seq_connect_from(seq_, port_, source.client, source.port);
  if (result < 0) return ErrorCode(result);
  source_ = source;
  return 0;
}

int AlsaSequencer::Redirect(AlsaAddress dest) {
  if (!seq_ || port_ < 0) return EBADF;
  std::lock_guard lock(outputMutex_);
  // The old port is normally gone, and its subscription with it.
  if (dest_.Valid()) snd_seq_disconnect_to(seq_, port_, dest_.client, dest_.port);
  const int result = snd_seq_connect_to(seq_, port_, dest.client, dest.port);
  if (result < 0) return ErrorCode(result);
  dest_ = dest;
  return 0;
}

AlsaAddress AlsaSequencer::Destination() {
  std::lock_guard lock(outputMutex_);
  return dest_;
}

int AlsaSequencer::FollowSource(AlsaAddress source) {
  if (!seq_ || port_ < 0) return EBADF;
  if (source_.Valid()) snd_seq_disconnect_from(seq_, port_, source_.client, source_.port);
  const int result = snd_seq_connect_from(seq_, port_, source.client, source.port);
  if (result < 0) return ErrorCode(result);
  source_ = source;
  return 0;
}

int AlsaSequencer::Deliver(snd_seq_event_t& event) {
  snd_seq_ev_set_source(&event, port_);
  if (dest_.Valid()) {
    snd_seq_ev_set_dest(&event, dest_.client, dest_.port);
  } else {
    snd_seq_ev_set_subs(&event);
  }
  snd_seq_ev_set_direct(&event);
  return ErrorCode(snd_seq_event_output_direct(seq_, &event));
}

int AlsaSequencer::SendSysex(const uint8_t* data, size_t length) {
  if (!seq_ || port_ < 0) return EBADF;
  if (length == 0) return 0;
  snd_seq_event_t event;
  snd_seq_ev_clear(&event);
  snd_seq_ev_set_sysex(&event, static_cast<unsigned>(length), const_cast<uint8_t*>(data));
  std::lock_guard lock(outputMutex_);
  return Deliver(event);
}

int AlsaSequencer::SendShort(uint32_t packed) {
  if (!seq_ || port_ < 0) return EBADF;
  std::lock_guard lock(outputMutex_);
  snd_seq_event_t event;
  if (const int invalid = outputCodec_.Encode(packed, event)) return invalid;
  return Deliver(event);
}

int AlsaSequencer::StartInput(Handlers handlers) {
  if (!seq_ || port_ < 0) return EBADF;
  if (input_.joinable()) return EBUSY;
  if (handlers.portStarted) {
    const int result =
        snd_seq_connect_from(seq_, port_, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    if (result < 0) return ErrorCode(result);
  }
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd_ < 0) return errno ? errno : EIO;
  handlers_ = std::move(handlers);
  joiner_.Clear();
  input_ = std::thread(&AlsaSequencer::InputLoop, this);
  return 0;
}

void AlsaSequencer::StopInput() {
  if (!input_.joinable()) return;
  const uint64_t one = 1;
  while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
  input_.join();
  close(wakeFd_);
  wakeFd_ = -1;
}

void AlsaSequencer::InputLoop() {
  const int count = snd_seq_poll_descriptors_count(seq_, POLLIN);
  std::vector<pollfd> fds(static_cast<size_t>(count > 0 ? count : 0) + 1);
  fds[0] = {wakeFd_, POLLIN, 0};
  snd_seq_poll_descriptors(seq_, fds.data() + 1, static_cast<unsigned>(fds.size() - 1), POLLIN);
  for (;;) {
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    bool readable = false;
    for (size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
      readable = readable || (fds[i].revents & POLLIN);
    }
    const int events = DrainInput();
    if (events < 0) return;
    // Readable, yet not one event would come: the next one is larger than our whole input
    // buffer and would block the input for good. It has to go, with what waits behind it.
    if (events == 0 && readable) {
      snd_seq_drop_input(seq_);
      LostInput();
    }
  }
}

// Reads every event waiting; returns how many, or -1 when the sequencer has failed for good.
int AlsaSequencer::DrainInput() {
  int events = 0;
  for (;;) {
    snd_seq_event_t* event = nullptr;
    const int result = snd_seq_event_input(seq_, &event);
    if (result == -EAGAIN) break;
    if (result == -EINTR) continue;
    // ENOSPC: our kernel input pool overflowed and was emptied. EINVAL: an event did not fit
    // into alsa-lib's input buffer and was dropped.
    if (result == -ENOSPC || result == -EINVAL) {
      ++events;
      LostInput();
      continue;
    }
    if (result < 0) {
      joiner_.Flush();
      return -1;
    }
    ++events;
    if (event) Dispatch(*event);
  }
  joiner_.Flush();
  return events;
}

void AlsaSequencer::LostInput() {
  joiner_.Flush();
  const unsigned total = ++overruns_;
  if (handlers_.overrun) handlers_.overrun(total);
}

void AlsaSequencer::Dispatch(const snd_seq_event_t& event) {
  if (event.type == SND_SEQ_EVENT_PORT_START && event.source.client == SND_SEQ_CLIENT_SYSTEM) {
    if (handlers_.portStarted)
      handlers_.portStarted({event.data.addr.client, event.data.addr.port});
    return;
  }
  if (source_.Valid() &&
      (event.source.client != source_.client || event.source.port != source_.port)) {
    return;
  }
  if (event.type == SND_SEQ_EVENT_SYSEX) {
    if (snd_seq_ev_is_variable(&event) && event.data.ext.ptr) {
      joiner_.Add(static_cast<const uint8_t*>(event.data.ext.ptr), event.data.ext.len);
    }
    return;
  }
  uint32_t messages[AlsaShortCodec::kMaxMessages];
  const size_t count = inputCodec_.Decode(event, messages);
  if (count == 0) return;
  joiner_.Flush();  // keeps arrival order between SysEx bytes and short messages
  for (size_t i = 0; i < count; ++i) {
    if (handlers_.shortMessage) handlers_.shortMessage(messages[i]);
  }
}

}  // namespace kelvora::midi
