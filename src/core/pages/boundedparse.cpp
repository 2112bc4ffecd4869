#include "core/pages/boundedparse.h"

#include "core/pages/markupscan.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <unordered_set>
#include <vector>

namespace {

// What a page may cost, per byte and once. An ordinary page takes a few bytes of
// the parser's memory and a few units of work per byte of its own; nesting within
// MarkupDepthLimit costs the parser up to that much per character, whatever the
// budget.
constexpr qint64 BytesPerByte = 32;
constexpr qint64 BytesOnce = qint64(16) << 20;
constexpr qint64 WorkPerByte = 16;
constexpr qint64 WorkOnce = qint64(1) << 20;

constexpr size_t ChunkSize = size_t(1) << 18;
constexpr size_t Alignment = alignof(std::max_align_t);
// Nodes of the tree are allocated one by one, each of this size: the arena keeps
// them to follow their parents, since nothing else says how deep the parser is.
constexpr size_t NodeSize = sizeof(GumboNode);
constexpr int PendingNodes = 8;
// The parser checks each attribute name of a tag against the names before it
// (their count, and their bytes: it takes each one's length), also for a name it
// then drops as repeated. An attribute is allocated before its name; each
// repeated name is a parse error, which is an allocation too when errors are
// kept. So every allocation is charged the attributes made since the last node,
// and their names' bytes by this many a unit.
constexpr size_t AttributeSize = sizeof(GumboAttribute);
constexpr qint64 NameBytesPerUnit = 16;

} // namespace

class BoundedParse::Arena
{
public:
    explicit Arena(qint64 length)
        : m_byteBudget(BytesPerByte * length + BytesOnce)
        , m_workBudget(WorkPerByte * length + WorkOnce)
    {
    }

    ~Arena()
    {
        for (void *block : m_blocks)
            std::free(block);
    }

    std::jmp_buf stop;

    static void *allocate(void *self, size_t size) { return static_cast<Arena *>(self)->take(size); }
    static void release(void *, void *) {} // freed with the arena

    // The nodes made last, once the parse is done.
    void finish()
    {
        for (int i = 0; i < m_pendingCount; ++i)
            checkDepth(static_cast<const GumboNode *>(m_pending[i].block));
        m_pendingCount = 0;
    }

private:
    void *take(size_t size)
    {
        size = aligned(std::max<size_t>(size, 1));
        m_bytes += qint64(size);
        m_work += 1 + m_attributes + m_nameBytes / NameBytesPerUnit;
        if (m_nameNext)
            m_nameBytes += qint64(size);
        m_nameNext = size == aligned(AttributeSize);
        if (m_nameNext)
            ++m_attributes;
        if (m_bytes > m_byteBudget || m_work > m_workBudget)
            std::longjmp(stop, 1);
        void *block = nullptr;
        if (size > ChunkSize / 4) {
            block = newBlock(size);
        } else {
            if (m_left < size) {
                m_next = static_cast<char *>(newBlock(ChunkSize));
                m_left = ChunkSize;
            }
            block = m_next;
            m_next += size;
            m_left -= size;
        }
        if (size == aligned(NodeSize))
            tookNode(block);
        return block;
    }

    // Zeroed, so that what the parser has not written yet reads as null.
    void *newBlock(size_t size)
    {
        void *block = std::calloc(1, size);
        if (!block)
            std::longjmp(stop, 1);
        m_blocks.push_back(block);
        return block;
    }

    // The nodes made before this one are in the tree by now: each element's
    // depth is counted along its parents (and charged, as the parser's own work
    // grows with it). Not every block of a node's size is a node; a parent is
    // followed only when it is one of those blocks, which are all arena memory.
    static constexpr size_t aligned(size_t size) { return (size + Alignment - 1) / Alignment * Alignment; }

    void tookNode(void *block)
    {
        m_attributes = 0;
        m_nameBytes = 0;
        int kept = 0;
        for (int i = 0; i < m_pendingCount; ++i) {
            Pending &p = m_pending[i];
            const auto *node = static_cast<const GumboNode *>(p.block);
            if (!node->parent && ++p.age < PendingNodes) {
                m_pending[kept++] = p;
                continue;
            }
            checkDepth(node);
        }
        m_pendingCount = kept;
        if (m_pendingCount == PendingNodes)
            std::copy(m_pending + 1, m_pending + PendingNodes, m_pending), --m_pendingCount;
        m_pending[m_pendingCount++] = {block, 0};
        m_nodes.insert(block);
    }

    void checkDepth(const GumboNode *node)
    {
        // A block of a node's size may be no node: its type is read as a number.
        std::underlying_type_t<GumboNodeType> type;
        std::memcpy(&type, &node->type, sizeof type);
        if (type != GUMBO_NODE_ELEMENT && type != GUMBO_NODE_TEMPLATE)
            return; // text is never a parent
        int depth = 0;
        for (const GumboNode *up = node->parent; up && m_nodes.count(up); up = up->parent) {
            if (++depth > MarkupDepthLimit)
                std::longjmp(stop, 1);
        }
        m_work += depth;
    }

    struct Pending
    {
        void *block;
        int age;
    };

    const qint64 m_byteBudget;
    const qint64 m_workBudget;
    qint64 m_bytes = 0;
    qint64 m_work = 0;
    qint64 m_attributes = 0; // made since the last node
    qint64 m_nameBytes = 0;  // of their names
    bool m_nameNext = false; // the next block is an attribute's name
    std::vector<void *> m_blocks;
    char *m_next = nullptr;
    size_t m_left = 0;
    std::unordered_set<const void *> m_nodes;
    Pending m_pending[PendingNodes] = {};
    int m_pendingCount = 0;
};

namespace {
// Apart, so that nothing with a destructor stands between the jump and its target.
GumboOutput *parseWithin(BoundedParse::Arena &arena, const GumboOptions &options, const QByteArray &utf8)
{
    GumboOutput *volatile output = nullptr;
    if (setjmp(arena.stop) == 0) {
        output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
        arena.finish();
    }
    return output;
}
} // namespace

BoundedParse::BoundedParse(const QByteArray &utf8)
    : m_arena(std::make_unique<Arena>(utf8.size()))
{
    GumboOptions options = kGumboDefaultOptions;
    // Each error is an allocation the arena charges (a tree builder's error keeps a
    // copy of the open elements, within MarkupDepthLimit).
    options.max_errors = -1;
    options.allocator = &Arena::allocate;
    options.deallocator = &Arena::release;
    options.userdata = m_arena.get();
    m_output = parseWithin(*m_arena, options, utf8);
}

BoundedParse::~BoundedParse() = default; // the arena holds the whole tree

const GumboNode *BoundedParse::document() const
{
    return m_output ? m_output->document : nullptr;
}
