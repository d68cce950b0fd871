#pragma once
// Readable gtest output for Qt value types: a failing EXPECT_EQ on QString,
// QColor or QDate then shows the values instead of their bytes. Found by
// argument-dependent lookup, so these live in the global namespace with the
// Qt types.

#include <QColor>
#include <QDateTime>
#include <QSize>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& value, std::ostream* os) { *os << '"' << value.toStdString() << '"'; }

inline void PrintTo(const QColor& value, std::ostream* os) { *os << value.name(QColor::HexArgb).toStdString(); }

inline void PrintTo(const QDate& value, std::ostream* os) { *os << value.toString(Qt::ISODate).toStdString(); }

inline void PrintTo(const QTime& value, std::ostream* os) { *os << value.toString(Qt::ISODateWithMs).toStdString(); }

inline void PrintTo(const QDateTime& value, std::ostream* os) { *os << value.toString(Qt::ISODate).toStdString(); }

inline void PrintTo(const QSize& value, std::ostream* os) { *os << value.width() << 'x' << value.height(); }
