// The suggested file name of a piece of content, and the date and time texts the writers print.
#pragma once

#include "common/base.h"
#include "controller/outputs/output_context.h"
#include "platform/clock.h"

namespace ph {

struct SettingsRecord;

// The page title with the suffix that "Name Append Type" asks for, and the characters that file
// names cannot hold turned into underscores. No folder and no extension.
std::string SuggestedName(const OutputContext& context, const SettingsRecord& settings, const LocalTime& now);

std::string DateText(const LocalTime& t);   // 2026-12-08
std::string TimeText(const LocalTime& t);   // 01:20:05
std::string StampText(const LocalTime& t);  // _261208-012005

// The content a text-like writer stores: the selection HTML for the HTML portion, else the text.
inline const std::string& ChosenContent(const OutputContext& context) {
  return context.portion == kPortionHtml ? context.html : context.text;
}

}  // namespace ph
