#pragma once

namespace kelvora::dialogs {

// One corner of the scale envelope, in pixels of the envelope box; the nodes form a doubly
// linked list from left to right. The envelope dialog owns every node; the links only point.
struct TScaleNode {
  TScaleNode* Next = nullptr;
  TScaleNode* Prev = nullptr;
  int X = 0;
  int Y = 0;
};

}  // namespace kelvora::dialogs
