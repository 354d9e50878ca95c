#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::core {

// Message box styles, numbered as the old platform numbered them: one button set, one
// icon and one default button, combined with |.
enum MessageBoxStyle : std::int32_t {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbAbortRetryIgnore = 0x2,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbRetryCancel = 0x5,
  kMbButtonsMask = 0xF,
  kMbIconStop = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconExclamation = 0x30,
  kMbIconInformation = 0x40,
  kMbUserIcon = 0x80,
  kMbIconMask = 0xF0,
  kMbDefaultButton2 = 0x100,
  kMbDefaultButton3 = 0x200,
  kMbDefaultButtonMask = 0xF00,
};

// The button a message box was closed with, numbered as the old platform numbered
// them, since callers compare the numbers; kAnswerNone when no box could be shown.
enum DialogAnswer : std::int32_t {
  kAnswerNone = 0,
  kAnswerOk = 1,
  kAnswerCancel = 2,
  kAnswerAbort = 3,
  kAnswerRetry = 4,
  kAnswerIgnore = 5,
  kAnswerYes = 6,
  kAnswerNo = 7,
};

// Message-beep types, numbered as the old platform numbered them: 0 default, 16 error,
// 32 question, 48 warning, 64 information.
enum BeepType : std::int32_t {
  kBeepDefault = 0,
  kBeepError = 16,
  kBeepQuestion = 32,
  kBeepWarning = 48,
  kBeepInformation = 64
};

struct MessageBoxRequest {
  std::int32_t owner = 0;  // window handle id; 0 for none
  std::string text;        // plain text, never markup
  std::string caption;
  std::int32_t style = kMbOk;
  std::optional<std::int32_t> iconId;  // the showing module's own icon, with kMbUserIcon
  std::int32_t languageId = 0;
};

// Shows a modal message box. Each module (the program, each control library) has its
// own, so that a user icon is that module's icon. The Qt one lives in
// platform/widgets/app_message_box.h.
class ModuleMessageBox {
 public:
  virtual ~ModuleMessageBox() = default;
  // The button pressed, or kAnswerNone when the box could not be shown.
  virtual DialogAnswer Show(const MessageBoxRequest& request) = 0;
};

}  // namespace morvane::core
