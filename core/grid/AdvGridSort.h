#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

// How the string grid tells numbers, dates and plain texts apart and orders
// its rows. Kept free of widgets so the rules can be checked on their own.
namespace AdvGridSort {

enum class DateOrder { YearMonthDay, MonthDayYear, DayMonthYear };

// The parts of the user's locale that a comparison depends on.
struct CompareLocale
{
    QChar decimalSeparator = u'.';
    DateOrder dateOrder = DateOrder::YearMonthDay;
    int currentYear = 2000; // a date written without its year falls in this one

    static CompareLocale system();
};

enum class CellFormat { Numeric, Date, Text };

// Only ASCII digits and signs count: a full-width digit is two bytes of
// code page 932, neither of them a digit.
bool isIntegerText(QStringView text);
bool isDecimalText(QStringView text);
bool isNumberText(QStringView text);

// The format a comparison uses, decided from the first of the two cells.
CellFormat formatOf(QStringView text);

// The text as a finite number, the locale's decimal separator accepted.
std::optional<double> toNumber(QStringView text, QChar decimalSeparator);

// Days since 1899-12-30, the time of day as the fraction.
std::optional<double> toDateTime(QStringView text, const CompareLocale &locale);

// Unsigned byte order; a text that begins the other sorts first.
int compareBytes(const QByteArray &a, const QByteArray &b);

// One cell with everything a comparison needs worked out once, so that a sort
// of many rows does not convert the same text again and again.
struct CellKey
{
    CellFormat format = CellFormat::Text;
    bool converts = false;
    double number = 0;
    double date = 0;
    QByteArray bytes; // code page 932
};

CellKey makeKey(const QString &text, const CompareLocale &locale, bool autoFormat);

// 1 when a sorts after b in ascending order, -1 before, 0 equal. The format
// comes from a alone, so compareKeys(a, b) need not be -compareKeys(b, a).
int compareKeys(const CellKey &a, const CellKey &b);

int compareTexts(
    const QString &a, const QString &b, const CompareLocale &locale, bool autoFormat = true);

// Bottom-up merge sort: stable and O(n log n) whatever the comparison does, so
// a comparison that contradicts itself can give an odd order but never harm.
// rightGoesFirst(left, right) says whether right must stand before left.
template <typename T, typename RightGoesFirst>
void stableSort(std::vector<T> &items, RightGoesFirst rightGoesFirst)
{
    const std::size_t n = items.size();
    if (n < 2)
        return;
    std::vector<T> merged(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t low = 0; low < n; low += 2 * width) {
            const std::size_t middle = std::min(low + width, n);
            const std::size_t high = std::min(low + 2 * width, n);
            // Runs already in order, as after appending to sorted rows, cost one comparison.
            if (middle >= high || !rightGoesFirst(items[middle - 1], items[middle])) {
                for (std::size_t k = low; k < high; ++k)
                    merged[k] = std::move(items[k]);
                continue;
            }
            std::size_t left = low;
            std::size_t right = middle;
            std::size_t out = low;
            while (left < middle && right < high) {
                if (rightGoesFirst(items[left], items[right]))
                    merged[out++] = std::move(items[right++]);
                else
                    merged[out++] = std::move(items[left++]);
            }
            while (left < middle)
                merged[out++] = std::move(items[left++]);
            while (right < high)
                merged[out++] = std::move(items[right++]);
        }
        items.swap(merged);
    }
}

namespace Detail {

template <typename T, typename SortsAfter>
void quickSortRange(
    std::vector<T> &items, std::ptrdiff_t first, std::ptrdiff_t last, SortsAfter &sortsAfter)
{
    while (first < last) {
        const T pivot = items[std::size_t((first + last) / 2)];
        std::ptrdiff_t i = first;
        std::ptrdiff_t j = last;
        do {
            // The bounds never stop a consistent comparison: the pivot or an
            // element swapped past it does. They only keep a careless one in range.
            while (i < last && sortsAfter(pivot, items[std::size_t(i)]))
                ++i;
            while (j > first && sortsAfter(items[std::size_t(j)], pivot))
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(items[std::size_t(i)], items[std::size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        // The two parts are disjoint, so sorting the shorter one first gives the
        // same order while keeping the stack shallow.
        if (j - first < last - i) {
            if (first < j)
                quickSortRange(items, first, j, sortsAfter);
            first = i;
        } else {
            if (i < last)
                quickSortRange(items, i, last, sortsAfter);
            last = j;
        }
    }
}

} // namespace Detail

// The header click's quicksort: Hoare partitioning around the middle item.
// Equal items may change places; which ones is part of the grid's behaviour.
// sortsAfter(a, b) says whether a belongs after b.
template <typename T, typename SortsAfter>
void quickSort(std::vector<T> &items, SortsAfter sortsAfter)
{
    if (items.size() > 1)
        Detail::quickSortRange(items, 0, std::ptrdiff_t(items.size()) - 1, sortsAfter);
}

} // namespace AdvGridSort
