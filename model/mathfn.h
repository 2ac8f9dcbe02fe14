// The model's transcendental functions. They come from one implementation
// compiled with the model (model/libm), not from the platform's C library:
// C libraries differ in the last bit (and some pick a variant by processor),
// and every build, native or WebAssembly, must give the same results.
#pragma once

extern "C" {
double kelvora_libm_sin(double);
double kelvora_libm_cos(double);
double kelvora_libm_tan(double);
double kelvora_libm_asin(double);
double kelvora_libm_atan(double);
double kelvora_libm_pow(double, double);
double kelvora_libm_exp(double);
double kelvora_libm_log(double);
double kelvora_libm_log10(double);
double kelvora_libm_expm1(double);
double kelvora_libm_erf(double);
}

namespace kelvora::fn {

inline double sin(double x) {
    return kelvora_libm_sin(x);
}
inline double cos(double x) {
    return kelvora_libm_cos(x);
}
inline double tan(double x) {
    return kelvora_libm_tan(x);
}
inline double asin(double x) {
    return kelvora_libm_asin(x);
}
inline double atan(double x) {
    return kelvora_libm_atan(x);
}
inline double pow(double x, double y) {
    return kelvora_libm_pow(x, y);
}
inline double exp(double x) {
    return kelvora_libm_exp(x);
}
inline double log(double x) {
    return kelvora_libm_log(x);
}
inline double log10(double x) {
    return kelvora_libm_log10(x);
}
inline double expm1(double x) {
    return kelvora_libm_expm1(x);
}
inline double erf(double x) {
    return kelvora_libm_erf(x);
}

}  // namespace kelvora::fn
