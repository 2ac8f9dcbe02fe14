#pragma once

// One wavelength's line profile along the dispersion, built numerically
// from what blurs it, and its full width at half maximum (docs/physics.md).

namespace kelvora::design {

// Every width in binned pixels along the dispersion.
struct ProfileParts {
    double seeing = 0;       // FWHM of the star's Gaussian image
    double slit = 0;         // the slit's image, which cuts the star's: 0 without a slit
    double diffraction = 0;  // the grating's Rayleigh limit λ/(mNL): a sinc² profile
    double coma = 0;         // the converging beam's blur, its full extent; 0 without
    double obstruction = 0;  // central obstruction, a fraction of the diameter
};

// FWHM (binned pixels) of the entrance's profile convolved with the pixel,
// the diffraction and the coma.
double convolvedFwhm(const ProfileParts& parts);

}  // namespace kelvora::design
