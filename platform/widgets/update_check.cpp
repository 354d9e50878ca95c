#include "platform/widgets/update_check.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <vector>

namespace morvane::widgets {

namespace {

// A manifest is a few dozen bytes; anything this large is not one.
constexpr qint64 kMaxManifestSize = 64 * 1024;

std::optional<std::vector<qulonglong>> VersionParts(const QString& text) {
  if (text.isEmpty()) return std::nullopt;
  std::vector<qulonglong> parts;
  for (const QString& part : text.split(QLatin1Char('.'))) {
    if (part.isEmpty() || part.size() > 9) return std::nullopt;
    for (const QChar c : part) {
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    }
    parts.push_back(part.toULongLong());
  }
  return parts;
}

}  // namespace

std::optional<int> CompareVersions(const QString& a, const QString& b) {
  const auto left = VersionParts(a);
  const auto right = VersionParts(b);
  if (!left || !right) return std::nullopt;
  const std::size_t n = std::max(left->size(), right->size());
  for (std::size_t i = 0; i < n; ++i) {
    const qulonglong x = i < left->size() ? (*left)[i] : 0;
    const qulonglong y = i < right->size() ? (*right)[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::optional<QString> ManifestVersion(const QByteArray& manifest) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(manifest, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonValue version = document.object().value(QStringLiteral("version"));
  if (!version.isString() || !VersionParts(version.toString())) return std::nullopt;
  return version.toString();
}

void UpdateCheck::Configure(const QString& manifestAddress, const QString& settingsFile,
                            const QString& version) {
  manifestAddress_ = manifestAddress;
  settingsFile_ = settingsFile;
  version_ = version;
}

int UpdateCheck::Check(QString& newest) const {
  const QUrl url(manifestAddress_, QUrl::StrictMode);
  if (!url.isValid() ||
      (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
    return kUpdateUnreachable;
  }
  QNetworkAccessManager network;
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setTransferTimeout(static_cast<int>(timeLimit_.count()));
  std::unique_ptr<QNetworkReply> reply(network.get(request));
  // The reply takes in no more than one byte past the cap: a huge answer then waits in
  // the network, not in memory, until it is refused.
  reply->setReadBufferSize(kMaxManifestSize + 1);

  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  bool tooLarge = false;
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // Progress is told at intervals; the data that waits is seen as it comes, so a full
  // buffer, which takes in nothing more, is refused at once.
  const auto refuseOverCap = [&](qint64 received) {
    if (received > kMaxManifestSize) {
      tooLarge = true;
      loop.quit();
    }
  };
  QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop,
                   [&](qint64 received, qint64) { refuseOverCap(received); });
  QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop,
                   [&] { refuseOverCap(reply->bytesAvailable()); });
  limit.start(timeLimit_);
  // The caller disables its window meanwhile, so input that arrives is not held back.
  loop.exec();

  if (!reply->isFinished() || tooLarge) {
    reply->abort();
    return kUpdateUnreachable;
  }
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (reply->error() != QNetworkReply::NoError || status != 200) return kUpdateUnreachable;
  const std::optional<QString> version = ManifestVersion(reply->read(kMaxManifestSize));
  if (!version) return kUpdateUnreachable;
  newest = *version;
  const std::optional<int> order = CompareVersions(*version, version_);
  if (!order) return kUpdateUnreachable;
  return *order > 0 ? kUpdateAvailable : kUpToDate;
}

}  // namespace morvane::widgets
