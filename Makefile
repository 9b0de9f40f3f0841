# The two commands of the README, plus the benchmarks, the Windows package and
# the fuzzing.
.PHONY: run test bench dist fuzz clean

FUZZ_SECONDS ?= 60

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh

bench:
	bash scripts/bench.sh

dist:
	bash scripts/dist.sh

fuzz:
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/fuzz.sh

clean:
	rm -rf build
