#pragma once

namespace kelvora::protocol {

// What one call of the response processor found. The numbers are fixed: callers compare them.
enum TProcessResult {
  prAck = 1,
  prError = 2,
  prNoInstrument = 3,
  prNoLayer = 4,
  prInvalidWs = 5,
  prResponse23 = 6,
  prNothing = 7,
  prUnknownResponse = 8,
  prOverview = 10,
  prData = 11,
  prWsParams = 12,
  prNothingAfterWait = 13,
  prDataHeader = 14,
  prSlowDown = 15,
  prInstrumentParams = 16,
  prLayerParams = 17,
};

}  // namespace kelvora::protocol
