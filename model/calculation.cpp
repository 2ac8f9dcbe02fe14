#include "model/calculation.h"

#include "model/checked.h"
#include "model/numbertext.h"

namespace kelvora {

namespace {

constexpr double kSkyBandLimit = 2500;
constexpr double kSkyFlux = 28;
constexpr double kStarFlux = 100.8;
constexpr double kRows = 7;
constexpr double kDark = 0.3;
constexpr double kMagnitudeFactor = -0.4;

// One run, step by step. `at_` always names the field being read or the
// result being computed, so a fault can say where it happened.
class Run {
  public:
    Run(const RunInput& in, RunOutput& out) : in_(in), out_(out) {}

    void optics() {
        readOpticalInputs();
        diffractionAngle();
        det_ = detectorModel(in_.detector);
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
        const Num D = q_.D, F = q_.F, Fcoll = q_.Fcoll, Fcam = q_.Fcam, p = det_.p;
        const Num a = Fcoll * p / Fcam / F * 648000 / kPi;
        const Num Psky = checkedPow(10, Num(q_.msky) * kMagnitudeFactor) *
                         (checkedPow(D / 10, 2) * (B * kSkyFlux)) * (a * q_.bx) * (a * q_.by);
        q_.sigma = read(Control::txtBruit);
        at(Control::txtSB);
        const Num Pstar = checkedPow(10, Num(q_.mstar) * kMagnitudeFactor) *
                          (checkedPow(D / 10, 2) * (r_.d * kStarFlux));
        const Num t = q_.t, by = q_.by;
        const Num Sig = t * Pstar;
        const Num V = checkedPow(q_.sigma, 2) * q_.n * kRows / by +
                      ((Psky * t * kRows / by + t * Pstar) + t * kDark * kRows / by);
        const Num Noise = checkedSqrt(V);
        r_.signalToNoise = (Sig / Noise).value();
        show(Control::txtSB, r_.signalToNoise, "#.#");
    }

    Control location() const { return at_; }

  private:
    void at(Control c) { at_ = c; }

    double read(Control c) {
        at(c);
        const NumberReading r = readNumber(in_.texts[indexOf(c)]);
        if (r.overflow) throw ArithmeticFault{FaultKind::Overflow};
        return r.value;
    }

    void show(Control c, double value, std::string_view pattern) {
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
        q_.lambda = (Num(typed) / 10000000).value();
        q_.m = read(Control::txtOrdre);
        q_.N = read(Control::txtTraits);
    }

    // sin(beta) = m N lambda at normal incidence; the arcsine is taken as an arctangent.
    void diffractionAngle() {
        at(Control::txtAngle);
        const Num x = Num(q_.m) * q_.N * q_.lambda;
        const Num beta = checkedAtan(x / checkedSqrt(-x * x + 1));
        r_.theta = R2D(beta.value());
        show(Control::txtAngle, r_.theta, "##.###");
    }

    Num cosTheta() const { return checkedCos(D2R(r_.theta)); }

    void dispersion() {
        at(Control::txtDispersion);
        const Num c = cosTheta();
        const Num d = Num(q_.bx) * 10000000 * det_.p * c / q_.m / q_.N / q_.Fcam;
        r_.d = d.value();
        show(Control::txtDispersion, r_.d, "#.###");
    }

    void wavelengthRange() {
        at(Control::txtLambda1);
        const Num lambda = q_.lambda;
        const Num h = Num(r_.d) * det_.nx / q_.bx / 20000000;
        const Num lambda1 = lambda - h;
        const Num lambda2 = h + lambda;
        r_.lambda1 = lambda1 > 0 ? (lambda1 * 10000000).value() : 0;
        show(Control::txtLambda1, r_.lambda1, "#.##");
        at(Control::txtLambda2);
        r_.lambda2 = (lambda2 * 10000000).value();
        show(Control::txtLambda2, r_.lambda2, "#.##");
    }

    // The seeing disc on the detector, in angstroms, combined with the
    // sampling terms.
    void separatingPower() {
        at(Control::txtSeparation);
        const Num d = r_.d, bx = q_.bx;
        const Num s = d * q_.S * kPi / 648000 * q_.F * q_.Fcam / q_.Fcoll / (bx * det_.p);
        const Num u = d * 1.5 / bx;
        r_.separation = checkedSqrt(u * u + s * s + d * 2.25 * d).value();
        show(Control::txtSeparation, r_.separation, "#.###");
    }

    void resolvingPower() {
        at(Control::txtResolution);
        r_.resolution = (Num(q_.lambda) * 10000000 / r_.separation).value();
        show(Control::txtResolution, r_.resolution, "#");
        at(Control::lblLambda);
        const Num centre = Num(q_.lambda) * 10000000;
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
        const Num Do = Num(q_.D) * q_.Fcoll / q_.F * c + Num(det_.p) * q_.Lgo * det_.nx / q_.Fcam;
        r_.Do = Do.value();
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
        const Num B = Num(r_.d) * ws / (Num(q_.bx) * det_.p);
        return B > kSkyBandLimit ? Num(kSkyBandLimit) : B;
    }

    const RunInput& in_;
    RunOutput& out_;
    Control at_ = Control::txtDiametre;
    InstrumentParameters q_;
    CalculationResults r_;
    DetectorModel det_{};
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
