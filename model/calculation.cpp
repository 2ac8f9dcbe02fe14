#include "model/calculation.h"

#include "model/checked.h"
#include "model/numbertext.h"
#include "model/photometry.h"

namespace kelvora {

namespace {

using namespace photometry;

// Å per mm: wavelengths are typed in Å and worked in mm.
constexpr double kAngstromsPerMm = 10000000;
// Arc seconds per radian, times π.
constexpr double kArcsecTimesPi = 648000;

// One run, step by step. `at_` always names the field being read or the
// result being computed, so a fault can say where it happened. Each formula
// is written one checked step after another in its written order (see
// checked.h), so that the first fault met is the one named.
class Run {
  public:
    Run(const RunInput& in, RunOutput& out) : in_(in), out_(out) {}

    void optics() {
        readOpticalInputs();
        diffractionAngle();
        dispersion();
        wavelengthRange();
        separatingPower();
        resolvingPower();
        collimatorAndGrating();
        cameraObjective();
    }

    void signalToNoise() {
        q_.mstar = read(Control::txtMagEtoile);
        q_.msky = read(Control::txtMagCiel);
        q_.t = read(Control::txtTi);
        q_.n = read(Control::txtNexposure);
        const Num B = skyBand();
        at(Control::txtSB);
        const Num Psky = skyRate(B, pixelSkyAngle());
        q_.sigma = read(Control::txtBruit);
        at(Control::txtSB);
        const Num Pstar = starRate();
        const Num t = q_.t;
        const Num Sig = t * Pstar;
        const Num Noise = checkedSqrt(variance(Psky, Pstar));
        r_.signalToNoise = (Sig / Noise).value();
        show(Control::txtSB, r_.signalToNoise, "#.#");
    }

    Control location() const { return at_; }

  private:
    void at(Control c) { at_ = c; }
    // The detector the buttons chose.
    const DetectorModel& det() const { return in_.detector; }

    double read(Control c) {
        at(c);
        const NumberReading r = readNumber(in_.texts[indexOf(c)]);
        if (r.overflow) throw ArithmeticFault{FaultKind::Overflow};
        return r.value;
    }

    void show(Control c, double value, std::string_view pattern) {
        out_.values[out_.shown.size()] = value;
        appendPattern(out_.shown.emplace_back(c, std::string()).text, value, pattern,
                      in_.decimalSeparator);
    }

    void readOpticalInputs() {
        q_.D = read(Control::txtDiametre);
        q_.F = read(Control::txtFocale);
        q_.Fcoll = read(Control::txtCollimateur);
        q_.Fcam = read(Control::txtChambre);
        q_.Lgo = read(Control::txtDistance);
        q_.S = read(Control::txtSeeing);
        q_.bx = read(Control::txtBin1);
        q_.by = read(Control::txtBin2);
        const double typed = read(Control::txtWavelength);
        at(Control::txtWavelength);
        q_.lambda = (Num(typed) / kAngstromsPerMm).value();
        q_.m = read(Control::txtOrdre);
        q_.N = read(Control::txtTraits);
    }

    // sin(beta) = m N lambda at normal incidence; the arcsine is taken as an arctangent.
    void diffractionAngle() {
        at(Control::txtAngle);
        const Num x = Num(q_.m) * q_.N * q_.lambda;
        const Num root = checkedSqrt(-x * x + 1);
        const Num beta = checkedAtan(x / root);
        r_.theta = R2D(beta.value());
        show(Control::txtAngle, r_.theta, "##.###");
    }

    Num cosTheta() const { return checkedCos(D2R(r_.theta)); }

    void dispersion() {
        at(Control::txtDispersion);
        const Num c = cosTheta();
        const Num d = Num(q_.bx) * kAngstromsPerMm * det().p * c / q_.m / q_.N / q_.Fcam;
        r_.d = d.value();
        show(Control::txtDispersion, r_.d, "#.###");
    }

    void wavelengthRange() {
        at(Control::txtLambda1);
        const Num lambda = q_.lambda;
        const Num h = Num(r_.d) * det().nx / q_.bx / 20000000;
        const Num lambda1 = lambda - h;
        const Num lambda2 = h + lambda;
        r_.lambda1 = lambda1 > 0 ? (lambda1 * kAngstromsPerMm).value() : 0;
        show(Control::txtLambda1, r_.lambda1, "#.##");
        at(Control::txtLambda2);
        r_.lambda2 = (lambda2 * kAngstromsPerMm).value();
        show(Control::txtLambda2, r_.lambda2, "#.##");
    }

    // The seeing disc on the detector, in angstroms, combined with the
    // sampling terms.
    void separatingPower() {
        at(Control::txtSeparation);
        const Num d = r_.d, bx = q_.bx;
        const Num seeingOnDetector = d * q_.S * kPi / kArcsecTimesPi * q_.F * q_.Fcam / q_.Fcoll;
        const Num binnedPixel = bx * det().p;
        const Num s = seeingOnDetector / binnedPixel;
        const Num u = d * 1.5 / bx;
        const Num u2 = u * u;
        const Num s2 = s * s;
        const Num sum = u2 + s2;
        const Num d2 = d * 2.25 * d;
        r_.separation = checkedSqrt(sum + d2).value();
        show(Control::txtSeparation, r_.separation, "#.###");
    }

    void resolvingPower() {
        at(Control::txtResolution);
        r_.resolution = (Num(q_.lambda) * kAngstromsPerMm / r_.separation).value();
        show(Control::txtResolution, r_.resolution, "#");
        at(Control::lblLambda);
        const Num centre = Num(q_.lambda) * kAngstromsPerMm;
        out_.values[out_.shown.size()] = centre.value();
        std::string& note = out_.shown.emplace_back(Control::lblLambda, std::string()).text;
        note.reserve(40);  // one allocation for the whole note
        note.append("à ").append(signedNumberText(centre.value())).append(" angstroms");
    }

    void collimatorAndGrating() {
        at(Control::txtDCollimateur);
        r_.Dc = (Num(q_.D) / q_.F * q_.Fcoll).value();
        show(Control::txtDCollimateur, r_.Dc, "#.##");
        show(Control::txtDGrating, r_.Dc, "#.##");
    }

    void cameraObjective() {
        at(Control::txtDChambre);
        const Num c = cosTheta();
        const Num beam = Num(q_.D) * q_.Fcoll / q_.F * c;
        const Num spread = Num(det().p) * q_.Lgo * det().nx / q_.Fcam;
        r_.Do = (beam + spread).value();
        show(Control::txtDChambre, r_.Do, "#.##");
        at(Control::txtFD);
        r_.focalRatio = (Num(q_.Fcam) / r_.Do).value();
        show(Control::txtFD, r_.focalRatio, "#.##");
    }

    // The band of sky light reaching one pixel: fixed without a slit,
    // the slit image's spectral width (at most the fixed band) with one.
    Num skyBand() {
        if (in_.barlowSelected) return kSkyBandLimit;
        at(Control::txtSB);
        const Num c = cosTheta();
        q_.w = read(Control::txtSlitWide);
        at(Control::txtSB);
        const Num ws = Num(q_.w) * q_.Fcam / q_.Fcoll / c;
        const Num dws = Num(r_.d) * ws;
        const Num binnedPixel = Num(q_.bx) * det().p;
        const Num B = dws / binnedPixel;
        return B > kSkyBandLimit ? Num(kSkyBandLimit) : B;
    }

    // Sky angle of one unbinned pixel, arc seconds.
    Num pixelSkyAngle() const {
        return Num(q_.Fcoll) * det().p / q_.Fcam / q_.F * kArcsecTimesPi / kPi;
    }

    static Num magnitudeFactor(double magnitude) {
        const Num exponent = Num(magnitude) * kMagnitudeFactor;
        return checkedPow(10, exponent);
    }

    // Aperture area factor (D/10)², D in cm.
    Num apertureSquared() const { return checkedPow(Num(q_.D) / 10, 2); }

    // Psky = 10^(msky·-0.4) · ((D/10)² · (B·28)) · (a·bx) · (a·by)
    Num skyRate(Num B, Num a) const {
        const Num brightness = magnitudeFactor(q_.msky);
        const Num area = apertureSquared();
        const Num band = B * kSkyFlux;
        const Num perArea = area * band;
        const Num lit = brightness * perArea;
        const Num ax = a * q_.bx;
        const Num perPixelX = lit * ax;
        const Num ay = a * q_.by;
        return perPixelX * ay;
    }

    // Pstar = 10^(mstar·-0.4) · ((D/10)² · (d·100.8))
    Num starRate() const {
        const Num brightness = magnitudeFactor(q_.mstar);
        const Num area = apertureSquared();
        const Num band = Num(r_.d) * kStarFlux;
        const Num perArea = area * band;
        return brightness * perArea;
    }

    // V = σ²·n·7/by + ((Psky·t·7/by + t·Pstar) + t·0.3·7/by)
    Num variance(Num Psky, Num Pstar) const {
        const Num t = q_.t, by = q_.by;
        const Num readOut = checkedPow(q_.sigma, 2) * q_.n * kRows / by;
        const Num sky = Psky * t * kRows / by;
        const Num star = t * Pstar;
        const Num skyAndStar = sky + star;
        const Num dark = t * kDark * kRows / by;
        const Num photons = skyAndStar + dark;
        return readOut + photons;
    }

    const RunInput& in_;
    RunOutput& out_;
    Control at_ = Control::txtDiametre;
    InstrumentParameters q_;
    CalculationResults r_;
};

}  // namespace

RunOutput runCalculation(const RunInput& input) {
    RunOutput out;
    out.shown.reserve(kShownCount);
    Run run(input, out);
    try {
        run.optics();
        run.signalToNoise();
    } catch (const ArithmeticFault& f) {
        out.fault = Fault{f.kind, run.location()};
    }
    return out;
}

}  // namespace kelvora
