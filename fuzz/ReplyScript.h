#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "ScriptCable.h"
#include "sim/SamplerEngine.h"
#include "sim/SamplerLog.h"
#include "sim/SamplerMemory.h"

namespace kelvora::fuzz {

using Chunk = std::vector<uint8_t>;

// The sampler's end of the cable in a fuzz run: every message the program sends is answered with
// the next chunk of the script, whatever it holds; a script that has run out answers nothing.
// The first chunk goes out at once, before the program has sent anything.
//
// Recording mode answers from a simulated sampler with the demo instruments instead and keeps
// each answer as a chunk, which makes a seed of real replies.
class ReplyScript : public midi::LoopbackPeer {
 public:
  ReplyScript(ScriptCable& cable, std::deque<Chunk> chunks);
  explicit ReplyScript(ScriptCable& cable);  // recording

  void Start();
  void OnLongMessage(const uint8_t* data, size_t length) override;
  void OnShortMessage(uint32_t) override {}

  // Recording mode: the answers so far, one chunk per message the program sent, and those
  // messages themselves.
  std::vector<Chunk> Recorded();
  std::vector<Chunk> HostMessages();

 private:
  void Answer(const Chunk& chunk);

  ScriptCable& cable_;
  std::deque<Chunk> chunks_;
  std::unique_ptr<sim::SamplerMemory> memory_;
  std::unique_ptr<sim::SamplerLog> log_;
  std::unique_ptr<sim::SamplerEngine> engine_;
  Chunk pending_;
  std::vector<Chunk> recorded_;
  std::vector<Chunk> hostMessages_;
};

// Splits a script: each chunk is a 16-bit little-endian length and that many bytes (fewer at
// the end of the input). Joins chunks the same way.
std::deque<Chunk> SplitChunks(const uint8_t* data, size_t size);
void AppendChunk(std::vector<uint8_t>& out, const Chunk& chunk);

}  // namespace kelvora::fuzz
