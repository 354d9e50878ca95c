#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::core {

// Message box styles and answers, numbered as the old platform numbered them, since
// callers combine and compare the numbers.
inline constexpr std::int32_t kMbOk = 0x0;
inline constexpr std::int32_t kMbOkCancel = 0x1;
inline constexpr std::int32_t kMbAbortRetryIgnore = 0x2;
inline constexpr std::int32_t kMbYesNoCancel = 0x3;
inline constexpr std::int32_t kMbYesNo = 0x4;
inline constexpr std::int32_t kMbRetryCancel = 0x5;
inline constexpr std::int32_t kMbButtonsMask = 0xF;
inline constexpr std::int32_t kMbIconStop = 0x10;
inline constexpr std::int32_t kMbIconQuestion = 0x20;
inline constexpr std::int32_t kMbIconExclamation = 0x30;
inline constexpr std::int32_t kMbIconInformation = 0x40;
inline constexpr std::int32_t kMbUserIcon = 0x80;
inline constexpr std::int32_t kMbIconMask = 0xF0;
inline constexpr std::int32_t kMbDefaultButton2 = 0x100;
inline constexpr std::int32_t kMbDefaultButton3 = 0x200;
inline constexpr std::int32_t kMbDefaultButtonMask = 0xF00;

inline constexpr std::int32_t kIdOk = 1;
inline constexpr std::int32_t kIdCancel = 2;
inline constexpr std::int32_t kIdAbort = 3;
inline constexpr std::int32_t kIdRetry = 4;
inline constexpr std::int32_t kIdIgnore = 5;
inline constexpr std::int32_t kIdYes = 6;
inline constexpr std::int32_t kIdNo = 7;

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
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // The answer (kIdOk ...), or 0 when the box could not be shown.
  virtual std::int32_t Show(const MessageBoxRequest& request) = 0;
};

}  // namespace morvane::core
