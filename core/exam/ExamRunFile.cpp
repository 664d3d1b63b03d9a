#include "core/exam/ExamRunFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace ExamRunFile {

namespace {

using ErrorKind = ExamAlignment::ErrorKind;

const char *const KindNames[] = { "substitution", "omission", "insertion" };

QString timeText(const QDateTime &when)
{
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
}

QJsonObject errorObject(const ExamRunDetail::Error &e)
{
    return { { "kind", QLatin1String(KindNames[int(e.kind)]) }, { "expected", e.expected },
        { "typed", e.typed }, { "expectedBefore", e.expectedBefore },
        { "expectedAfter", e.expectedAfter }, { "typedBefore", e.typedBefore },
        { "typedAfter", e.typedAfter }, { "practicePos", double(e.practicePos) },
        { "typedPos", double(e.typedPos) }, { "line", e.line }, { "column", e.column } };
}

// Reads members of one object, remembering whether any was missing or of the wrong type.
class Fields
{
public:
    explicit Fields(const QJsonObject &object)
        : m_object(object)
    { }
    bool ok() const { return m_ok; }

    QString text(const char *name)
    {
        const QJsonValue value = m_object.value(QLatin1String(name));
        m_ok = m_ok && value.isString();
        return value.toString();
    }
    // A whole number from 0 to INT_MAX.
    int count(const char *name)
    {
        const QJsonValue value = m_object.value(QLatin1String(name));
        const double number = value.toDouble(-1);
        const bool whole = value.isDouble() && number >= 0
            && number <= std::numeric_limits<int>::max() && std::floor(number) == number;
        m_ok = m_ok && whole;
        return whole ? int(number) : 0;
    }
    bool flag(const char *name)
    {
        const QJsonValue value = m_object.value(QLatin1String(name));
        m_ok = m_ok && value.isBool();
        return value.toBool();
    }
    ErrorKind kind()
    {
        const QString name = text("kind");
        for (int i = 0; i < 3; ++i) {
            if (name == QLatin1String(KindNames[i]))
                return ErrorKind(i);
        }
        m_ok = false;
        return ErrorKind::Substitution;
    }

private:
    const QJsonObject &m_object;
    bool m_ok = true;
};

std::optional<ExamRunDetail::Error> errorOf(const QJsonValue &value, const ExamRunDetail &run)
{
    const QJsonObject object = value.toObject();
    Fields f(object);
    ExamRunDetail::Error e;
    e.kind = f.kind();
    e.expected = f.text("expected");
    e.typed = f.text("typed");
    e.expectedBefore = f.text("expectedBefore");
    e.expectedAfter = f.text("expectedAfter");
    e.typedBefore = f.text("typedBefore");
    e.typedAfter = f.text("typedAfter");
    e.practicePos = f.count("practicePos");
    e.typedPos = f.count("typedPos");
    e.line = f.count("line");
    e.column = f.count("column");
    // Readers slice the texts at these places: they must lie within them.
    const bool fits = e.practicePos + e.expected.size() <= run.practiceReached.size()
        && e.typedPos + e.typed.size() <= run.typed.size() && e.line >= 1 && e.column >= 1;
    if (!value.isObject() || !f.ok() || !fits)
        return std::nullopt;
    return e;
}

} // namespace

QByteArray encode(const ExamRunDetail &d)
{
    const ExamResult &r = d.result;
    QJsonArray errors;
    for (const ExamRunDetail::Error &e : d.errors)
        errors.append(errorObject(e));
    const QJsonObject object { { "format", Format }, { "when", timeText(r.when) },
        { "practiceName", r.practiceName }, { "level", r.level }, { "typedCount", r.typedCount },
        { "substitutions", r.substitutions }, { "omissions", r.omissions },
        { "insertions", r.insertions }, { "netScore", r.netScore }, { "passMark", r.passMark },
        { "passed", r.passed }, { "levelKey", d.levelKey }, { "penalty", d.penalty },
        { "practiceDigest", d.practiceDigest }, { "practiceReached", d.practiceReached },
        { "typed", d.typed }, { "errors", errors } };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<ExamRunDetail> decode(const QByteArray &data)
{
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    Fields f(object);
    if (f.count("format") != Format || !f.ok())
        return std::nullopt;
    ExamRunDetail d;
    ExamResult &r = d.result;
    r.when = QDateTime::fromString(f.text("when"), Qt::ISODate).toLocalTime();
    r.practiceName = f.text("practiceName");
    r.level = f.text("level");
    r.typedCount = f.count("typedCount");
    r.substitutions = f.count("substitutions");
    r.omissions = f.count("omissions");
    r.insertions = f.count("insertions");
    r.netScore = f.count("netScore");
    r.passMark = f.count("passMark");
    r.passed = f.flag("passed");
    d.levelKey = f.text("levelKey");
    d.penalty = f.count("penalty");
    d.practiceDigest = f.text("practiceDigest");
    d.practiceReached = f.text("practiceReached");
    d.typed = f.text("typed");
    const QJsonValue errors = object.value(QLatin1String("errors"));
    if (!f.ok() || !r.when.isValid() || !errors.isArray())
        return std::nullopt;
    for (const QJsonValue &value : errors.toArray()) {
        const auto error = errorOf(value, d);
        if (!error)
            return std::nullopt;
        d.errors.append(*error);
    }
    return d;
}

} // namespace ExamRunFile
