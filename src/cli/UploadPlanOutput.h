#pragma once

#include <QJsonObject>
#include <string>
#include <vector>

#include "batch/UploadPlan.h"

namespace kelvora::cli {

// An upload plan as `upload` prints it before anything is sent: for each file its slot, root
// key and where it came from, key range, rate, memory and wire time, and the totals. Built once
// as JSON; the text lines come from the same object.
QJsonObject PlanJson(const batch::UploadPlan& plan, bool newInstrument);
std::vector<std::string> PlanText(const QJsonObject& plan);

}  // namespace kelvora::cli
