#include "core/pages/boundedparse.h"

#include "core/pages/markupscan.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// What a page may cost, per byte and once, in units of about half a nanosecond
// of the parser's time. An ordinary page costs a few units and bytes per byte of
// its own; the part given once lets a page nest as deeply as old editors nest it
// (a FONT tag left open in each of thousands of paragraphs puts every paragraph
// inside the one before), and stops what would take more than a fifth of a second.
constexpr qint64 BytesPerByte = 16;
constexpr qint64 BytesOnce = qint64(160) << 20;
constexpr qint64 WorkPerByte = 32;
constexpr qint64 WorkOnce = qint64(384) << 20;

// What the parser's steps cost: an allocation, and each byte it fills (a stray
// tag's error keeps a copy of the stack of open elements); each element of the
// stack it looks along for a tag; each element of its list of formatting
// elements it compares a new one with.
constexpr qint64 AllocationCost = 64;
constexpr qint64 ByteCost = 2;
constexpr qint64 StackStepCost = 4;
constexpr qint64 ListStepCost = 8;
// The list holds at most three elements alike (same name and attributes).
constexpr qint64 AlikeInList = 3;

constexpr size_t ChunkSize = size_t(1) << 18;
constexpr size_t Alignment = alignof(std::max_align_t);
// Nodes of the tree are allocated one by one, each of this size: the arena keeps
// them to follow their parents, since nothing else says how deep the parser is.
constexpr size_t NodeSize = sizeof(GumboNode);
constexpr int PendingNodes = 8;
// The parser checks each attribute name of a tag against the names before it
// (their count, and their bytes: it takes each one's length), also for a name it
// then drops as repeated. An attribute is a block of this size whose name, once
// filled in, stands in the page after the nodes made so far; while the tag is
// read, every allocation (a few to a name) is charged the tag's attributes so far
// and their names' bytes by this many a name.
constexpr size_t AttributeSize = sizeof(GumboAttribute);
constexpr int AttributeChecks = 3; // allocations after an attribute's own that may fill in its name
constexpr qint64 NameCost = 2;
constexpr qint64 NameBytesPerName = 16;

// The elements the parser keeps in its list of formatting elements.
bool isFormatting(const GumboElement &element)
{
    if (element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (element.tag) {
    case GUMBO_TAG_A:
    case GUMBO_TAG_B:
    case GUMBO_TAG_BIG:
    case GUMBO_TAG_CODE:
    case GUMBO_TAG_EM:
    case GUMBO_TAG_FONT:
    case GUMBO_TAG_I:
    case GUMBO_TAG_NOBR:
    case GUMBO_TAG_S:
    case GUMBO_TAG_SMALL:
    case GUMBO_TAG_STRIKE:
    case GUMBO_TAG_STRONG:
    case GUMBO_TAG_TT:
    case GUMBO_TAG_U:
        return true;
    default:
        return false;
    }
}

bool isCopy(const GumboNode &node)
{
    return node.parse_flags & (GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED);
}

// The characters of UTF-8 bytes: those that do not continue one.
qint64 charactersIn(const char *from, const char *to)
{
    qint64 count = 0;
    for (const char *c = from; c < to; ++c)
        count += (static_cast<unsigned char>(*c) & 0xC0) != 0x80;
    return count;
}

// A formatting element as the parser tells it from others: its name and its
// attributes in any order.
std::string likenessOf(const GumboElement &element)
{
    std::vector<std::string> attributes;
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
        attributes.push_back(std::string(attribute->name) + '=' + attribute->value);
    }
    std::sort(attributes.begin(), attributes.end());
    std::string likeness = std::to_string(element.tag);
    for (const std::string &attribute : attributes)
        likeness += '\0' + attribute;
    return likeness;
}

} // namespace

// The parser's work is counted as it is done. Each allocation costs its size; each
// element costs the depth the parser stands at, as it looks along its stack of open
// elements for the tag; each formatting element costs the others in the parser's
// list, with which it is compared; each character of text costs the depth of the
// innermost formatting element around it, as the parser looks for that element in
// its stack before each character. Text is read before its node is made, so each
// time the parser moves, the rest of the page read as text there must fit.
class BoundedParse::Arena
{
public:
    explicit Arena(const QByteArray &input)
        : m_input(input.constData())
        , m_end(input.constData() + input.size())
        , m_characters(charactersIn(m_input, m_end))
        , m_byteBudget(BytesPerByte * input.size() + BytesOnce)
        , m_workBudget(WorkPerByte * input.size() + WorkOnce)
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
            place(static_cast<const GumboNode *>(m_pending[i].block));
        m_pendingCount = 0;
    }

private:
    // Where a node stands: its depth, and what each character of text in it costs.
    struct Place
    {
        int depth = -1; // not known yet
        int textCost = 0;
    };

    struct Pending
    {
        void *block = nullptr;
        int age = 0;
    };

    void *take(size_t size)
    {
        checkAttribute();
        const size_t asked = size;
        size = aligned(std::max<size_t>(size, 1));
        m_bytes += qint64(size);
        if (m_bytes > m_byteBudget)
            std::longjmp(stop, 1);
        charge(AllocationCost + ByteCost * qint64(size) + NameCost * (m_attributes + m_nameBytes / NameBytesPerName));
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
        if (asked == NodeSize)
            tookNode(block);
        else if (asked == AttributeSize)
            m_attribute = {block, 0};
        return block;
    }

    void charge(qint64 units)
    {
        m_work += units;
        if (m_work > m_workBudget)
            std::longjmp(stop, 1);
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

    static constexpr size_t aligned(size_t size) { return (size + Alignment - 1) / Alignment * Alignment; }

    // A block of an attribute's size is one of the tag being read once its name
    // stands in the page after the nodes made so far (a copy of a formatting
    // element copies names that stand before them; an error's copy of the stack
    // holds no names).
    void checkAttribute()
    {
        if (!m_attribute.block)
            return;
        const auto *attribute = static_cast<const GumboAttribute *>(m_attribute.block);
        const char *name = attribute->original_name.data;
        const size_t length = attribute->original_name.length;
        if (name >= m_input + m_offset && name < m_end && length > 0 && length <= size_t(m_end - name)) {
            ++m_attributes;
            m_nameBytes += qint64(length);
            m_attribute = {};
        } else if (++m_attribute.age > AttributeChecks) {
            m_attribute = {};
        }
    }

    // The nodes made before this one are in the tree by now, or soon: each is
    // placed once its parent is set, or after a few more nodes.
    void tookNode(void *block)
    {
        if (!m_document) { // the first node the parser makes
            m_document = block;
            m_places.emplace(block, Place{0, 0});
            return;
        }
        m_attributes = 0; // the tag read before is in the tree
        m_nameBytes = 0;
        int kept = 0;
        for (int i = 0; i < m_pendingCount; ++i) {
            Pending &p = m_pending[i];
            const auto *node = static_cast<const GumboNode *>(p.block);
            if (!node->parent && ++p.age < PendingNodes) {
                m_pending[kept++] = p;
                continue;
            }
            place(node);
        }
        m_pendingCount = kept;
        if (m_pendingCount == PendingNodes) {
            place(static_cast<const GumboNode *>(m_pending[0].block));
            std::copy(m_pending + 1, m_pending + PendingNodes, m_pending);
            --m_pendingCount;
        }
        m_pending[m_pendingCount++] = {block, 0};
        m_places.emplace(block, Place{});
    }

    // Not every block of a node's size is a node: one is followed only as far as
    // its type says it is one and its parent is one of those blocks, all arena memory.
    static int typeOf(const GumboNode *node)
    {
        std::underlying_type_t<GumboNodeType> type;
        std::memcpy(&type, &node->type, sizeof type);
        return int(type);
    }

    static bool isElement(const GumboNode *node)
    {
        const int type = typeOf(node);
        return type == GUMBO_NODE_ELEMENT || type == GUMBO_NODE_TEMPLATE;
    }

    // The place of an element, from its parent's; ancestors not placed yet (made
    // apart, then moved in) are placed on the way. Null for a node outside the tree.
    const Place *placeOf(const GumboNode *node)
    {
        std::vector<const GumboNode *> chain;
        const Place *above = nullptr;
        for (const GumboNode *up = node; up; up = up->parent) {
            const auto found = m_places.find(up);
            if (found == m_places.end())
                return nullptr;
            if (found->second.depth >= 0) {
                above = &found->second;
                break;
            }
            if (!isElement(up))
                return nullptr; // text is never a parent
            if (chain.size() >= size_t(MarkupDepthLimit))
                std::longjmp(stop, 1);
            chain.push_back(up);
        }
        if (!above)
            return nullptr;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const int depth = above->depth + 1;
            if (depth > MarkupDepthLimit)
                std::longjmp(stop, 1);
            Place &place = m_places[*it];
            place = {depth, isFormatting((*it)->v.element) ? depth : above->textCost};
            above = &place;
        }
        return above;
    }

    // Charges what the node cost the parser, and checks that the rest of the
    // page would fit read as text where the parser now stands.
    void place(const GumboNode *node)
    {
        const GumboSourcePosition *start = nullptr;
        qint64 length = 0;
        if (isElement(node)) {
            const Place *own = placeOf(node);
            if (!own)
                return;
            charge(StackStepCost * own->depth);
            if (isFormatting(node->v.element) && !isCopy(*node))
                chargeFormatting(node->v.element, own->depth);
            m_textCost = own->textCost;
            start = &node->v.element.start_pos;
        } else {
            const int type = typeOf(node);
            if (type != GUMBO_NODE_TEXT && type != GUMBO_NODE_WHITESPACE && type != GUMBO_NODE_CDATA)
                return;
            const Place *parent = placeOf(node->parent);
            if (!parent)
                return;
            const GumboStringPiece &text = node->v.text.original_text;
            if (text.data < m_input || text.data > m_end || text.length > size_t(m_end - text.data))
                return;
            charge(parent->textCost * charactersIn(text.data, text.data + text.length));
            m_textCost = parent->textCost;
            start = &node->v.text.start_pos;
            length = qint64(text.length); // read before its node was made
        }
        // Offsets only grow: a copy of an element keeps the place of its source.
        const qint64 offset = std::min<qint64>(qint64(start->offset) + length, m_end - m_input);
        if (offset > m_offset) {
            m_charactersBefore += charactersIn(m_input + m_offset, m_input + offset);
            m_offset = offset;
        }
        if (m_work + (m_characters - m_charactersBefore) * m_textCost > m_workBudget)
            std::longjmp(stop, 1);
    }

    // A formatting element of the page is compared with each in the list (those
    // open around it, and at most three alike), attribute against attribute.
    void chargeFormatting(const GumboElement &element, int depth)
    {
        m_likenesses.insert(likenessOf(element));
        const qint64 inList = std::min<qint64>(depth, AlikeInList * qint64(m_likenesses.size()));
        const qint64 attributes = std::min<qint64>(element.attributes.length, 1 << 16);
        charge(inList * ListStepCost * (1 + attributes * (attributes + 1)));
    }

    const char *const m_input;
    const char *const m_end;
    const qint64 m_characters;
    const qint64 m_byteBudget;
    const qint64 m_workBudget;
    qint64 m_bytes = 0;
    qint64 m_work = 0;
    // Where the parser stands: what a character costs there, and how far into the
    // page it has read.
    qint64 m_textCost = 0;
    qint64 m_offset = 0;
    qint64 m_charactersBefore = 0;
    Pending m_attribute; // a block that may be an attribute, and the allocations since
    qint64 m_attributes = 0; // of the tag read since the last node
    qint64 m_nameBytes = 0;  // of their names
    std::vector<void *> m_blocks;
    char *m_next = nullptr;
    size_t m_left = 0;
    const void *m_document = nullptr;
    std::unordered_map<const void *, Place> m_places;
    std::unordered_set<std::string> m_likenesses; // of the formatting elements of the page
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
    : m_arena(std::make_unique<Arena>(utf8))
{
    GumboOptions options = kGumboDefaultOptions;
    // Each error is an allocation the arena charges: a repeated attribute name, a
    // stray tag (with its copy of the open elements). Without them the parser also
    // reads the attribute after a repeated name wrongly.
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
