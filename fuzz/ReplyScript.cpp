#include "ReplyScript.h"

#include <algorithm>

#include "sim/DemoContent.h"
#include "sim/SimOptions.h"

namespace kelvora::fuzz {

ReplyScript::ReplyScript(ScriptCable& cable, std::deque<Chunk> chunks)
    : cable_(cable), chunks_(std::move(chunks)) {}

ReplyScript::ReplyScript(ScriptCable& cable) : cable_(cable) {
  sim::SimOptions options;
  options.demoContent = true;
  options = sim::NormalizedOptions(options);
  memory_ = std::make_unique<sim::SamplerMemory>(options.model, options.memoryWords);
  sim::LoadDemoContent(*memory_);
  log_ = std::make_unique<sim::SamplerLog>();
  engine_ = std::make_unique<sim::SamplerEngine>(
      *memory_, options, *log_, [this](sim::SamplerEngine::Output out) {
        pending_.insert(pending_.end(), out.bytes.begin(), out.bytes.end());
      });
}

void ReplyScript::Start() {
  if (engine_) {
    recorded_.emplace_back();  // nothing before the first message
    return;
  }
  if (chunks_.empty()) return;
  Answer(chunks_.front());
  chunks_.pop_front();
}

void ReplyScript::OnLongMessage(const uint8_t* data, size_t length) {
  if (engine_) {
    pending_.clear();
    hostMessages_.emplace_back(data, data + length);
    engine_->Feed(data, length);
    recorded_.push_back(pending_);
    Answer(pending_);
    return;
  }
  if (chunks_.empty()) return;
  Answer(chunks_.front());
  chunks_.pop_front();
}

std::vector<Chunk> ReplyScript::Recorded() { return recorded_; }

std::vector<Chunk> ReplyScript::HostMessages() { return hostMessages_; }

void ReplyScript::Answer(const Chunk& chunk) {
  if (!chunk.empty()) cable_.SendToProgram(chunk.data(), chunk.size());
}

std::deque<Chunk> SplitChunks(const uint8_t* data, size_t size) {
  std::deque<Chunk> chunks;
  size_t at = 0;
  while (at + 2 <= size) {
    const size_t length = std::min<size_t>(data[at] | data[at + 1] << 8, size - at - 2);
    chunks.emplace_back(data + at + 2, data + at + 2 + length);
    at += 2 + length;
  }
  return chunks;
}

void AppendChunk(std::vector<uint8_t>& out, const Chunk& chunk) {
  const size_t length = std::min<size_t>(chunk.size(), 0xFFFF);
  out.push_back(static_cast<uint8_t>(length & 0xFF));
  out.push_back(static_cast<uint8_t>(length >> 8));
  out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(length));
}

}  // namespace kelvora::fuzz
