#include "script/KeywordIds.h"

// The unsigned-id tables of every scripted class share this one instantiation.
template class KeywordIds<unsigned int>;
template class Vemo::BasicSet<KeywordIds<unsigned int>::KeywordId, KeywordIds<unsigned int>::Less>;
