#include "platform/answerenvelope.h"

#include <QCborStreamReader>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/jsonmapping.h"
#include "platform/wire.h"

namespace qmv::wire {

namespace {

bool readText(QCborStreamReader& reader, QString& text)
{
    auto chunk = reader.readString();
    while (chunk.status == QCborStreamReader::Ok) {
        text += chunk.data;
        chunk = reader.readString();
    }
    return chunk.status == QCborStreamReader::EndOfString;
}

bool readEntry(QCborStreamReader& reader, const QByteArray& body, AnswerEnvelope& envelope)
{
    QString key;
    if (!reader.isString() || !readText(reader, key))
        return false;
    if (key == QLatin1String("ok") && reader.isBool()) {
        envelope.hasOk = true;
        envelope.ok = reader.toBool();
        return reader.next();
    }
    if (key == QLatin1String("error") && reader.isString())
        return readText(reader, envelope.error);
    const qint64 start = reader.currentOffset();
    if (!reader.next())
        return false;
    if (key == QLatin1String("result"))
        envelope.resultBytes = body.mid(start, reader.currentOffset() - start);
    return true;
}

AnswerEnvelope cborEnvelope(QByteArray&& body)
{
    AnswerEnvelope envelope;
    // The server writes a success as {"ok": true, "result": ...} in that order: the result is the
    // rest of the body, taken without walking it or copying it (whoever loads it decodes it once).
    const QByteArrayView success = wire::successHead();
    if (body.startsWith(success) && body.size() > success.size()) {
        envelope.valid = envelope.hasOk = envelope.ok = true;
        body.remove(0, success.size());  // moves the start of the buffer, not the bytes
        envelope.resultBytes = std::move(body);
        return envelope;
    }
    QCborStreamReader reader(body);
    if (!reader.isMap() || !reader.enterContainer())
        return envelope;
    while (reader.hasNext()) {
        if (!readEntry(reader, body, envelope))
            return envelope;
    }
    envelope.valid = reader.leaveContainer() && reader.lastError() == QCborError::NoError;
    return envelope;
}

// A JSON answer's result read with the mapping the server writes it with, so that dates and byte
// strings come back as they went. A result that cannot be read (malformed base64) is a failure.
AnswerEnvelope jsonEnvelope(const QByteArray& body)
{
    AnswerEnvelope envelope;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return envelope;
    const QJsonObject map = doc.object();
    const QJsonValue ok = map.value(QStringLiteral("ok"));
    envelope.hasOk = ok.isBool();
    envelope.ok = ok.toBool();
    envelope.error = map.value(QStringLiteral("error")).toString();
    try {
        if (map.contains(QStringLiteral("result")))
            envelope.resultValue = jsonToCbor(map.value(QStringLiteral("result")));
    } catch (const JsonMappingError&) {
        envelope.unreadable = QStringLiteral("base64 malformado");
        return envelope;
    }
    envelope.valid = true;
    return envelope;
}

}  // namespace

AnswerEnvelope readAnswerEnvelope(QByteArrayView contentType, QByteArray&& body)
{
    if (contentType.contains("json"))
        return jsonEnvelope(body);
    return cborEnvelope(std::move(body));
}


}  // namespace qmv::wire
