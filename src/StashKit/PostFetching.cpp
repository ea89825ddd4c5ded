#include "StashKit/PostFetching.h"

namespace sw {

QString FetchError::description() const
{
    if (const FetchFailure *f = failure()) {
        switch (*f) {
        case FetchFailure::notFound: return QStringLiteral("The post was not found.");
        case FetchFailure::unreadable: return QStringLiteral("The page could not be read.");
        }
    }
    if (const TransportError *t = transport())
        return t->description;
    return decoding()->description;
}

}  // namespace sw
