#pragma once

namespace kelvora::protocol {

// States of the download driver; the response processor looks at 6 and 8.
enum TDownloadState {
  dsIdle = 0,
  dsStart = 1,
  dsRequestBlock = 2,
  dsWaitAck = 3,
  dsCheckAck = 4,
  dsWaitHeader = 5,
  dsReadHeader = 6,
  dsWaitData = 7,
  dsReadData = 8,
};

// States of the upload driver; the response processor only asks whether it is idle.
enum TUploadState {
  usIdle = 0,
  usPrepare = 1,
  usReadBlock = 2,
  usSendDataHeader = 3,
  usWaitHeaderAck = 4,
  usCheckHeaderAck = 5,
  usSendData = 6,
  usWaitDataAck = 7,
  usCheckDataAck = 8,
  usSendParamsHeader = 9,
  usWaitParamsHeaderAck = 10,
  usCheckParamsHeaderAck = 11,
  usSendParams = 12,
  usWaitParamsAck = 13,
  usCheckParamsAck = 14,
  usCreateInstrument = 15,
  usWaitCreateInstrument = 16,
  usCheckCreateInstrument = 17,
  usCreateLayer = 18,
  usWaitCreateLayer = 19,
  usCheckCreateLayer = 20,
  usCreateWs = 21,
  usWaitCreateWs = 22,
  usCheckCreateWs = 23,
  usRename = 24,
  usSetKeyRange = 25,
};

}  // namespace kelvora::protocol
