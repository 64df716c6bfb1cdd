#include "foundation/RegionSweep.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace Vemo {

namespace {

struct Span {
    std::int32_t left;
    std::int32_t right;
    std::int32_t bottom;
};

// A run of the row above and the result member it extends.
struct OpenRun {
    std::int32_t left;
    std::int32_t right;
    std::size_t member;
};

// Working storage: inside the object for small sweeps, so that those allocate nothing but their result; from
// the heap for larger ones.
template <class T>
class Buffer {
public:
    explicit Buffer(std::size_t count) {
        if (count > kInside) {
            Reallocate(count, 0);
        }
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    T* Data() { return m_data; }
    std::size_t Capacity() const { return m_capacity; }
    // Doubles the room, keeping the first kept elements.
    void Grow(std::size_t kept) { Reallocate(2 * m_capacity, kept); }

private:
    void Reallocate(std::size_t count, std::size_t kept) {
        std::vector<T> larger(count);
        std::copy(m_data, m_data + kept, larger.begin());
        m_outside.swap(larger);
        m_data = m_outside.data();
        m_capacity = count;
    }

    static constexpr std::size_t kInside = 64;
    T m_inside[kInside];
    std::vector<T> m_outside;
    T* m_data = m_inside;
    std::size_t m_capacity = kInside;
};

// The members of one input crossing the current row, ordered by left (so by right too, being disjoint), and
// the rows still to come.
class Operand {
public:
    explicit Operand(const std::vector<Rect>& members)
        : m_members(members), m_room(2 * members.size()), m_crossing(m_room.Data()),
          m_moved(m_crossing + members.size()) {}

    // The next row where a member starts or ends; false when none is left.
    bool NextRow(std::int32_t& row) const {
        const bool starts = m_next < m_members.size();
        if (!starts && m_count == 0) {
            return false;
        }
        row = starts ? std::min(m_members[m_next].top, m_firstBottom) : m_firstBottom;
        return true;
    }

    // One pass over the members crossing the row above keeps, in order, those that go on below row and merges
    // in those that start on it (ordered by left too).
    void MoveTo(std::int32_t row) {
        const Rect* start = m_members.data() + m_next;
        const Rect* const members = m_members.data() + m_members.size();
        const Rect* startsEnd = start;
        for (; startsEnd != members && startsEnd->top == row; ++startsEnd) {
        }
        if (startsEnd == start && row < m_firstBottom) {
            return;
        }
        Span* out = m_moved;
        std::int32_t firstBottom = INT32_MAX;
        const Span* span = m_crossing;
        const Span* const crossingEnd = m_crossing + m_count;
        for (; start != startsEnd; ++start) {
            for (; span != crossingEnd && span->left < start->left; ++span) {
                Keep(*span, row, out, firstBottom);
            }
            *out++ = Span{start->left, start->right, start->bottom};
            firstBottom = std::min(firstBottom, start->bottom);
        }
        for (; span != crossingEnd; ++span) {
            Keep(*span, row, out, firstBottom);
        }
        m_next = static_cast<std::size_t>(startsEnd - m_members.data());
        m_count = static_cast<std::size_t>(out - m_moved);
        m_firstBottom = firstBottom;
        std::swap(m_crossing, m_moved);
    }

    const Span* begin() const { return m_crossing; }
    const Span* end() const { return m_crossing + m_count; }

private:
    // Writes span at out, and moves out past it when span goes on below row.
    static void Keep(const Span& span, std::int32_t row, Span*& out, std::int32_t& firstBottom) {
        const bool stays = span.bottom > row;
        *out = span;
        out += stays ? 1 : 0;
        firstBottom = std::min(firstBottom, stays ? span.bottom : INT32_MAX);
    }

    const std::vector<Rect>& m_members;
    std::size_t m_next = 0;
    // Two lists with room for every member at once: the first m_count of m_crossing cross the row, and moving
    // to the next row writes the new list into m_moved before they change places.
    Buffer<Span> m_room;
    Span* m_crossing;
    Span* m_moved;
    std::size_t m_count = 0;
    std::int32_t m_firstBottom = INT32_MAX;
};

class Sweep {
public:
    using Operation = RegionSweep::Operation;

    Sweep(const std::vector<Rect>& first, const std::vector<Rect>& second)
        : m_first(first), m_second(second), m_room(2 * (first.size() + second.size())), m_open(m_room.Data()),
          m_nextOpen(m_open + first.size() + second.size()), m_result(first.size() + second.size()) {}

    // A difference is done once the first input has no rows left.
    template <Operation operation>
    void Run() {
        for (;;) {
            std::int32_t row = 0;
            std::int32_t secondRow = 0;
            const bool firstGoesOn = m_first.NextRow(row);
            if (!firstGoesOn && operation == Operation::Difference) {
                return;
            }
            if (m_second.NextRow(secondRow)) {
                row = firstGoesOn ? std::min(row, secondRow) : secondRow;
            } else if (!firstGoesOn) {
                return;
            }
            m_first.MoveTo(row);
            m_second.MoveTo(row);
            Row<operation>(row);
        }
    }

    std::vector<Rect> Result() { return std::vector<Rect>(m_result.Data(), m_result.Data() + m_resultCount); }

private:
    // The runs of the row come out of the pieces ordered by left: a piece that overlaps or touches the
    // pending run lengthens it, any other finishes it. A finished run ends the runs of the row above that
    // start left of it, and extends the member of the run above that starts and ends where it does, or starts
    // a member of its own. Members open in left order at each row, and rows come in order, so the result
    // stays ordered by top, then left. Kept out of Run: built into it, these loops lose registers and large
    // sweeps take a fifth longer.
    template <Operation operation>
    [[gnu::noinline]] void Row(std::int32_t row) {
        const OpenRun* above = m_open;
        const OpenRun* const aboveEnd = above + m_openCount;
        OpenRun* const nextBegin = m_nextOpen;
        OpenRun* next = nextBegin;
        auto finish = [&](std::int32_t left, std::int32_t right) {
            for (; above != aboveEnd && above->left < left; ++above) {
                m_result.Data()[above->member].bottom = row;
            }
            if (above != aboveEnd && above->left == left) {
                if (above->right == right) {
                    *next++ = *above++;
                    return;
                }
                m_result.Data()[above++->member].bottom = row;
            }
            if (m_resultCount == m_result.Capacity()) {
                m_result.Grow(m_resultCount);
            }
            *next++ = OpenRun{left, right, m_resultCount};
            m_result.Data()[m_resultCount++] = Rect(left, row, right, row);
        };
        std::int32_t pendingLeft = 0;
        std::int32_t pendingRight = 0;
        bool pending = false;
        auto append = [&](std::int32_t left, std::int32_t right) {
            if (pending && left <= pendingRight) {
                pendingRight = std::max(pendingRight, right);
                return;
            }
            if (pending) {
                finish(pendingLeft, pendingRight);
            }
            pendingLeft = left;
            pendingRight = right;
            pending = true;
        };
        if constexpr (operation == Operation::Union) {
            const Span* a = m_first.begin();
            const Span* b = m_second.begin();
            const Span* const aEnd = m_first.end();
            const Span* const bEnd = m_second.end();
            while (a != aEnd && b != bEnd) {
                const Span& span = a->left <= b->left ? *a++ : *b++;
                append(span.left, span.right);
            }
            for (; a != aEnd; ++a) {
                append(a->left, a->right);
            }
            for (; b != bEnd; ++b) {
                append(b->left, b->right);
            }
        } else {
            // Each span of the first input loses the spans of the second that overlap it. Both are ordered
            // and disjoint, so the second's spans that end left of one first span end left of every later one
            // too.
            const Span* hole = m_second.begin();
            const Span* const holesEnd = m_second.end();
            for (const Span& span : m_first) {
                for (; hole != holesEnd && hole->right <= span.left; ++hole) {
                }
                std::int32_t left = span.left;
                for (const Span* h = hole; h != holesEnd && h->left < span.right; ++h) {
                    if (h->left > left) {
                        append(left, h->left);
                    }
                    left = std::max(left, h->right);
                }
                if (left < span.right) {
                    append(left, span.right);
                }
            }
        }
        if (pending) {
            finish(pendingLeft, pendingRight);
        }
        for (; above != aboveEnd; ++above) {
            m_result.Data()[above->member].bottom = row;
        }
        std::swap(m_open, m_nextOpen);
        m_openCount = static_cast<std::size_t>(next - nextBegin);
    }

    Operand m_first;
    Operand m_second;
    // The runs of the row above and those of the current row. A row has no more runs than the two inputs have
    // members crossing it: each run starts where a member of the first input starts or where one of the
    // second ends.
    Buffer<OpenRun> m_room;
    OpenRun* m_open;
    OpenRun* m_nextOpen;
    std::size_t m_openCount = 0;
    // The members made so far, in order.
    Buffer<Rect> m_result;
    std::size_t m_resultCount = 0;
};

} // namespace

std::vector<Rect> RegionSweep::Combine(const std::vector<Rect>& first, const std::vector<Rect>& second,
                                       Operation operation) {
    Sweep sweep(first, second);
    if (operation == Operation::Union) {
        sweep.Run<Operation::Union>();
    } else {
        sweep.Run<Operation::Difference>();
    }
    return sweep.Result();
}

} // namespace Vemo
