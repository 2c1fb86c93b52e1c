#include "sync/Multistatus.h"

#include "sync/PercentCoding.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace dolvane {
namespace {

constexpr const char* kDav = "DAV:";
constexpr const char* kCalDav = "urn:ietf:params:xml:ns:caldav";

bool Is(const xmlNode* node, const char* ns, const char* name)
{
    return node->type == XML_ELEMENT_NODE && node->ns != nullptr && node->ns->href != nullptr &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// The element children of `node`, for range-for.
struct Children {
    const xmlNode* parent;
    struct Iterator {
        const xmlNode* node;
        static const xmlNode* Element(const xmlNode* at)
        {
            while (at != nullptr && at->type != XML_ELEMENT_NODE) {
                at = at->next;
            }
            return at;
        }
        const xmlNode* operator*() const { return node; }
        Iterator& operator++()
        {
            node = Element(node->next);
            return *this;
        }
        bool operator!=(const Iterator& other) const { return node != other.node; }
    };
    Iterator begin() const { return {Iterator::Element(parent->children)}; }
    static Iterator end() { return {nullptr}; }
};

std::string Text(const xmlNode* node)
{
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content != nullptr ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "HTTP/1.1 404 Not Found" → 404.
long StatusCode(const std::string& line)
{
    const auto space = line.find(' ');
    return space == std::string::npos ? 0 : std::strtol(line.c_str() + space + 1, nullptr, 10);
}

std::string FirstHrefPath(const xmlNode* node)
{
    for (const xmlNode* child : Children{node}) {
        if (Is(child, kDav, "href")) {
            return DecodedHrefPath(Trimmed(Text(child)));
        }
    }
    return {};
}

void ReadProperty(const xmlNode* property, DavProperties& properties)
{
    if (Is(property, kDav, "getetag")) {
        properties.etag = Trimmed(Text(property));
    } else if (Is(property, kCalDav, "calendar-data")) {
        properties.calendarData = Text(property);
    } else if (Is(property, kDav, "sync-token")) {
        properties.syncToken = Trimmed(Text(property));
    } else if (Is(property, kDav, "resourcetype")) {
        for (const xmlNode* type : Children{property}) {
            properties.collection = properties.collection || Is(type, kDav, "collection");
            properties.calendar = properties.calendar || Is(type, kCalDav, "calendar");
        }
    } else if (Is(property, kCalDav, "supported-calendar-component-set")) {
        auto& components = properties.components.emplace();
        for (const xmlNode* comp : Children{property}) {
            if (Is(comp, kCalDav, "comp")) {
                xmlChar* name = xmlGetProp(comp, reinterpret_cast<const xmlChar*>("name"));
                if (name != nullptr) {
                    components.emplace_back(reinterpret_cast<const char*>(name));
                }
                xmlFree(name);
            }
        }
    } else if (Is(property, kDav, "supported-report-set")) {
        for (const xmlNode* supported : Children{property}) {
            for (const xmlNode* report : Children{supported}) {
                for (const xmlNode* kind : Children{report}) {
                    const char* ns = kind->ns != nullptr ? reinterpret_cast<const char*>(kind->ns->href) : "";
                    properties.reports.push_back("{" + std::string(ns) + "}" +
                                                 reinterpret_cast<const char*>(kind->name));
                }
            }
        }
    } else if (Is(property, kDav, "current-user-principal")) {
        properties.principalPath = FirstHrefPath(property);
    } else if (Is(property, kCalDav, "calendar-home-set")) {
        properties.calendarHomePath = FirstHrefPath(property);
    }
}

DavResponse ReadResponse(const xmlNode* node)
{
    DavResponse response;
    for (const xmlNode* part : Children{node}) {
        if (Is(part, kDav, "href") && response.path.empty()) {
            response.path = DecodedHrefPath(Trimmed(Text(part)));
        } else if (Is(part, kDav, "status")) {
            response.status = StatusCode(Trimmed(Text(part)));
        } else if (Is(part, kDav, "propstat")) {
            const xmlNode* prop = nullptr;
            long status = 0;
            for (const xmlNode* piece : Children{part}) {
                if (Is(piece, kDav, "prop")) {
                    prop = piece;
                } else if (Is(piece, kDav, "status")) {
                    status = StatusCode(Trimmed(Text(piece)));
                }
            }
            if (prop != nullptr && status >= 200 && status < 300) {
                for (const xmlNode* property : Children{prop}) {
                    ReadProperty(property, response.properties);
                }
            }
        }
    }
    return response;
}

}  // namespace

std::optional<Multistatus> ReadMultistatus(std::string_view xml)
{
    using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;
    const Document document(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                            &xmlFreeDoc);
    const xmlNode* root = document != nullptr ? xmlDocGetRootElement(document.get()) : nullptr;
    if (root == nullptr || !Is(root, kDav, "multistatus")) {
        return std::nullopt;
    }
    Multistatus multistatus;
    for (const xmlNode* child : Children{root}) {
        if (Is(child, kDav, "response")) {
            // A response without an href says nothing about anything.
            if (DavResponse response = ReadResponse(child); !response.path.empty()) {
                multistatus.responses.push_back(std::move(response));
            }
        } else if (Is(child, kDav, "sync-token")) {
            multistatus.syncToken = Trimmed(Text(child));
        }
    }
    return multistatus;
}

std::string DecodedHrefPath(std::string_view href)
{
    // "scheme://authority/path" → "/path"; a path stays as it is.
    if (const auto scheme = href.find("://"); scheme != std::string_view::npos && href.find('/') > scheme) {
        const auto path = href.find('/', scheme + 3);
        href = path == std::string_view::npos ? std::string_view("/") : href.substr(path);
    }
    href = href.substr(0, href.find_first_of("?#"));
    return PercentDecoded(href);
}

std::string EncodedPath(std::string_view decodedPath)
{
    static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string path;
    for (const char c : decodedPath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool alphanumeric = (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
        if (alphanumeric || kKept.find(c) != std::string_view::npos) {
            path += c;
        } else {
            path += '%';
            path += kHex[byte >> 4];
            path += kHex[byte & 0x0F];
        }
    }
    return path;
}

bool SamePath(std::string_view a, std::string_view b)
{
    const auto bare = [](std::string_view path) {
        while (path.size() > 1 && path.back() == '/') {
            path.remove_suffix(1);
        }
        return path;
    };
    return bare(a) == bare(b);
}

}  // namespace dolvane
