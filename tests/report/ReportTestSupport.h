#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "report/PageModel.h"
#include "tests/TestSupport.h"

namespace zel::test {

inline QString refPath(const QString& name) {
    return QStringLiteral(ZELVARIN_SOURCE_DIR "/tests/report/refs/") + name;
}

// Compares the model's text with a reference file of the tests. With
// ZELVARIN_WRITE_REFS=1 in the environment the file is (re)written instead, for review.
inline void expectMatchesReference(const report::PageModel& model, const QString& name) {
    const QString text = model.text();
    QFile f(refPath(name));
    if (qEnvironmentVariableIntValue("ZELVARIN_WRITE_REFS") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << name.toStdString();
    const QString expected = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text.toStdString(), expected.toStdString()) << "reference " << name.toStdString();
}

// Words of each page, in reading order, as pdftotext finds them.
inline QStringList pdfPages(const QString& pdf, bool* available) {
    *available = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    QStringList pages = pdfText(pdf).split(u'\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

inline QStringList words(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral(" | "), QStringLiteral(" "));
    return t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

}  // namespace zel::test
