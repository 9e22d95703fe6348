#include "com/Random.h"

TRandom& TRandom::Program() {
    static TRandom generator;
    return generator;
}
